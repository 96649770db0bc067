// The subscription exchange against servers that never end it on their own, each a real
// HTTP server on 127.0.0.1:80 (tests/e2e/subscription_server.py): one that never answers,
// one that answers a byte every few seconds, one whose body never ends, and redirects.
// Whatever the server does, the exchange ends within its deadline as an unreachable
// server would, the program does not grow, and the caller's windows stay alive meanwhile.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <thread>

#include "counting_window.h"
#include "subscription_server_files.h"

namespace {

// Far more than the exchange's own deadline, far less than forever.
const DWORD kEndsWithinMs = 30000;

class Bounds : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("SONDREL_SUBSCRIPTION_SERVER"), nullptr) << "run through subscription_server.py";
        ClearLog();
    }
    void TearDown() override { Reply(200, "OK"); }

    // Sends one subscription and says how long it took.
    Outcome TimedSend(DWORD* tookMs) {
        DWORD start = GetTickCount();
        Outcome out = Send("john.doe@example.com");
        *tookMs = GetTickCount() - start;
        return out;
    }
};

TEST_F(Bounds, ASilentServerCountsAsUnreachableAndTheWindowsStayAliveMeanwhile) {
    Reply(200, "OK", "silent");
    CountingWindow window(WM_KEYDOWN);

    int paintsWhileWaiting = -1;
    bool answeredWhileWaiting = false;
    std::thread helper([&] {
        Sleep(1000);
        InvalidateRect(window.hwnd(), nullptr, TRUE);
        PostMessageA(window.hwnd(), WM_KEYDOWN, VK_RETURN, 1);  // typed while the request runs
        char title[32] = {};
        DWORD_PTR copied = 0;
        answeredWhileWaiting = SendMessageTimeoutA(window.hwnd(), WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title),
                                                   SMTO_BLOCK, 3000, &copied) != 0;
        Sleep(500);
        paintsWhileWaiting = window.paints();
    });
    DWORD took = 0;
    Outcome out = TimedSend(&took);
    helper.join();
    Drain();

    EXPECT_FALSE(out.raised);
    EXPECT_FALSE(out.acknowledged);
    EXPECT_LT(took, kEndsWithinMs);
    EXPECT_EQ(Requests().size(), 1u) << "the request reached the server, which kept silent";
    for (int i = 0; i < 100 && Connections().empty(); ++i) Sleep(50);
    EXPECT_EQ(Connections().size(), 1u) << "the request given up on was closed, not left hanging";
    EXPECT_GE(paintsWhileWaiting, 1) << "the window was repainted during the wait";
    EXPECT_TRUE(answeredWhileWaiting) << "the window answered another thread during the wait";
    EXPECT_EQ(window.counted(), 0) << "the key pressed during the wait was dropped, not kept for later";
}

TEST_F(Bounds, AServerThatAnswersAByteEveryFewSecondsIsGivenUpOnAtTheDeadline) {
    Reply(200, "OK", "trickle 3");
    DWORD took = 0;
    Outcome out = TimedSend(&took);
    EXPECT_FALSE(out.raised);
    EXPECT_FALSE(out.acknowledged) << "the \"OK\" at the end of the reply never came in time";
    EXPECT_LT(took, kEndsWithinMs);
}

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

TEST_F(Bounds, ABodyThatNeverEndsIsReadOnlyUpToItsCapAndMemoryStaysFlat) {
    Reply(200, "all work and no play ", "endless");
    Send("warm@up.example");  // the internet layer's own first-use allocations
    const SIZE_T before = PeakWorkingSet();
    ASSERT_GT(before, 0u);
    DWORD took = 0;
    Outcome out = TimedSend(&took);
    const SIZE_T grown = PeakWorkingSet() - before;
    EXPECT_FALSE(out.acknowledged);
    EXPECT_LT(took, kEndsWithinMs);
    EXPECT_LT(grown, SIZE_T(8) << 20) << "the peak working set grew by " << grown << " bytes";
}

struct RedirectCase {
    const char* name;
    const char* target;
};

class Redirect : public Bounds, public ::testing::WithParamInterface<RedirectCase> {};

// The redirect's target would answer "OK" to anything ("/elsewhere"), or redirect again
// (the request's own address): neither is ever asked.
TEST_P(Redirect, IsNotFollowedAndTheSubscriptionHostsOwnReplyDecides) {
    Reply(302, "Moved", (std::string("redirect ") + GetParam().target).c_str());
    DWORD took = 0;
    Outcome out = TimedSend(&took);
    EXPECT_FALSE(out.raised);
    EXPECT_FALSE(out.acknowledged);
    std::vector<Request> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].line.find("/cgi-local/register.cgi?"), std::string::npos);

    Reply(302, "Moved, but OK", (std::string("redirect ") + GetParam().target).c_str());
    EXPECT_TRUE(Send("john.doe@example.com").acknowledged) << "the subscription host's own body holds \"OK\"";
}

INSTANTIATE_TEST_SUITE_P(Targets, Redirect,
                         ::testing::Values(RedirectCase{"ToItself", "self"},
                                           RedirectCase{"Elsewhere", "http://127.0.0.1/elsewhere"}),
                         [](const ::testing::TestParamInfo<RedirectCase>& info) { return info.param.name; });

}  // namespace
