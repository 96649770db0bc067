// The main of every test program: GoogleTest's own, except that a run that ran no test
// fails. A filter that matches nothing, or a test renamed under its filter, would
// otherwise leave its ctest entry green with nothing run.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "no test ran: the filter matches none of this program's tests\n");
        return 1;
    }
    return status;
}
