// The program's own text class: the places where hand-written string code goes wrong.
#include <gtest/gtest.h>

#include <string>

#include "framework/text.h"

namespace {

TEST(Text, GrowsAcrossManyAppendsAndKeepsItsTerminator) {
    CText t;
    EXPECT_STREQ(t.c_str(), "");
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        t += "ab";
        t += static_cast<char>('0' + i % 10);
        expected += "ab";
        expected += static_cast<char>('0' + i % 10);
    }
    EXPECT_EQ(t.GetLength(), expected.size());
    EXPECT_EQ(std::string(t.c_str()), expected);
}

TEST(Text, AppendingOrAssigningItselfOrAPartOfItself) {
    CText t("abc");
    t += t;
    EXPECT_STREQ(t, "abcabc");
    t = t.c_str() + 2;
    EXPECT_STREQ(t, "cabc");
    t.Append(t.c_str() + 1, 2);
    EXPECT_STREQ(t, "cabcab");
}

TEST(Text, CopiesAndMovesAreIndependent) {
    CText a("one");
    CText b(a);
    b += "+";
    EXPECT_STREQ(a, "one");
    CText c(static_cast<CText&&>(b));
    EXPECT_STREQ(c, "one+");
    EXPECT_TRUE(b.IsEmpty());
    b = "reused";
    EXPECT_STREQ(b, "reused");
}

TEST(Text, ReplacedDoesNotRescanTheReplacement) {
    EXPECT_STREQ(CText("x %1 y %1").Replaced("%1", "C:\\a%1b"), "x C:\\a%1b y C:\\a%1b");
    EXPECT_STREQ(CText("100%").Replaced("%1", "z"), "100%");
    EXPECT_STREQ(CText("%1%1").Replaced("%1", ""), "");
    EXPECT_STREQ(CText("").Replaced("%1", "z"), "");
}

TEST(Text, BufferForApisThatFillOne) {
    CText t("old");
    char* p = t.GetBuffer(300);
    ASSERT_NE(p, nullptr);
    std::string filled(299, 'q');
    memcpy(p, filled.c_str(), filled.size() + 1);
    t.ReleaseBuffer();
    EXPECT_EQ(t.GetLength(), 299u);
    EXPECT_STREQ(t, filled.c_str());
}

TEST(Text, ATextThatCannotGrowFailsAndPassesItsFailureOnInsteadOfEndingTheProcess) {
    const size_t huge = static_cast<size_t>(-1) / 2 - 16;  // addressable, but no heap has it
    for (size_t n : {huge, static_cast<size_t>(-1) - 2}) {  // and a length that would wrap
        CText t("C:\\Program Files");
        t.Append("x", n);  // refused before a byte is read
        EXPECT_TRUE(t.Failed());
        EXPECT_STREQ(t, "") << "a failed text is never a shortened path";
        t += "\\MP3 Sondrel";
        EXPECT_TRUE(t.Failed());
        EXPECT_STREQ(t, "");
        CText joined = CText("D:") + t;
        EXPECT_TRUE(joined.Failed());
        CText copy(t);
        EXPECT_TRUE(copy.Failed());
        copy = "fresh";
        EXPECT_FALSE(copy.Failed()) << "a new value starts afresh";
        EXPECT_STREQ(copy, "fresh");
    }
    CText buffer("abc");
    EXPECT_EQ(buffer.GetBuffer(huge), nullptr);
    EXPECT_TRUE(buffer.Failed());
}

}  // namespace
