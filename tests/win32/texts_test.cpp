// The string table in the language the run's user interface asks for. ctest runs this
// program under several Unix locales and says which table each must get.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

const UINT kUsedIds[] = {1,  2,  4,  5,  6,  7,  9,  10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                         27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52};

LANGID ExpectedTable() {
    const char* expected = getenv("SONDREL_EXPECT_TABLE");
    return expected ? static_cast<LANGID>(strtoul(expected, nullptr, 16)) : 0;
}

bool French() { return ExpectedTable() == 0x100C; }

TEST(Texts, TheUserInterfaceLanguageChoosesTheTable) {
    ASSERT_NE(ExpectedTable(), 0) << "SONDREL_EXPECT_TABLE is not set";
    EXPECT_EQ(TextLanguage(), ExpectedTable()) << "UI language " << std::hex << GetUserDefaultUILanguage();
}

TEST(Texts, EveryUsedTextExists) {
    for (UINT id : kUsedIds) EXPECT_FALSE(LoadText(id).IsEmpty()) << "string " << id;
    EXPECT_TRUE(LoadText(3).IsEmpty());
    EXPECT_TRUE(LoadText(53).IsEmpty());
}

TEST(Texts, TextsArriveInTheAnsiCodePageWithTheirLineBreaks) {
    if (French()) {
        EXPECT_STREQ(LoadText(IDS_LINK_UNINSTALL), "D\xE9sinstallation.lnk");
        EXPECT_STREQ(LoadText(IDS_FILE_README), "Lisezmoi.htm");
        EXPECT_STREQ(LoadText(IDS_LANGUAGE_CODE), "fr");
        EXPECT_STREQ(LoadText(IDS_ASK_DEFAULT_PLAYER),
                     "[ mp3 - quillo ] n'est pas votre player par d\xE9" "faut !\nVoulez-vous le d\xE9" "finir comme tel ?");
        EXPECT_STREQ(LoadText(IDS_FILE_ERROR_DISK_FULL), "Disque plein lors de l'acc\xE8s \xE0 %1.");
        EXPECT_STREQ(LoadText(IDS_FILE_ERROR_SHARING),
                     "Une violation de partage s'est produite lors de l'acc\xE8s \xE0 %1.");
    } else {
        EXPECT_STREQ(LoadText(IDS_LINK_UNINSTALL), "Uninstall.lnk");
        EXPECT_STREQ(LoadText(IDS_FILE_README), "readme.htm");
        EXPECT_STREQ(LoadText(IDS_LANGUAGE_CODE), "us");
        EXPECT_STREQ(LoadText(IDS_ASK_START_APP),
                     "Installation successful !\nDo you want to start [ mp3 - sondrel ] now  ?");
        EXPECT_STREQ(LoadText(IDS_FILE_ERROR_DISK_FULL), "Disk full while accessing %1.");
        EXPECT_STREQ(LoadText(IDS_FILE_ERROR_SHARING), "A sharing violation occurred while accessing %1.");
    }
    EXPECT_STREQ(LoadText(IDS_VERSION), "4.3.0a");
}

TEST(Texts, FormattingReplacesOnlyThePlaceholder) {
    CText prompt = FormatText(IDS_CANNOT_UPDATE_FILE, "C:\\100%1 sure\\mp3 sondrel.exe");
    const std::string text = prompt.c_str();
    const std::string opening = French() ? "Impossible de mettre \xE0 jour le fichier " : "Cannot update file ";
    EXPECT_EQ(text.rfind(opening + "C:\\100%1 sure\\mp3 sondrel.exe. \n", 0), 0u) << text;
    EXPECT_EQ(text.find("%1", opening.size() + 10), std::string::npos) << "the argument is not rescanned";
}

}  // namespace
