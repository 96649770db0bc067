// The proposed install directory, from the real registry of the test prefix.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "app/setup_dlg.h"

namespace {

const char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kValue[] = "ProgramFilesPath";

// Sets (or, with nullptr, deletes) the stored value for one test and puts the
// original back afterwards.
class ProgramFilesPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &m_key), ERROR_SUCCESS);
        m_size = sizeof m_saved;
        m_hadValue = RegQueryValueExA(m_key, kValue, nullptr, &m_type, m_saved, &m_size) == ERROR_SUCCESS;
    }
    void TearDown() override {
        if (m_hadValue)
            RegSetValueExA(m_key, kValue, 0, m_type, m_saved, m_size);
        else
            RegDeleteValueA(m_key, kValue);
        RegCloseKey(m_key);
    }
    void Store(const char* text, DWORD type = REG_SZ) {
        if (!text) {
            RegDeleteValueA(m_key, kValue);
            return;
        }
        ASSERT_EQ(RegSetValueExA(m_key, kValue, 0, type, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(strlen(text) + 1)),
                  ERROR_SUCCESS);
    }
    static std::string Proposed() { return CSetupDlg().m_strInstallDir.c_str(); }
    static std::string ShellProgramFiles() {
        char path[MAX_PATH] = {};
        SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path);
        return path;
    }

    HKEY m_key = nullptr;
    BYTE m_saved[1024];
    DWORD m_size = 0, m_type = 0;
    bool m_hadValue = false;
};

TEST_F(ProgramFilesPathTest, PlainFolderGetsTheProductFolderAppended) {
    Store("D:\\Programs");
    EXPECT_EQ(Proposed(), "D:\\Programs\\MP3 Sondrel");
}

TEST_F(ProgramFilesPathTest, TrailingSeparatorIsNotDoubled) {
    Store("D:\\Programs\\");
    EXPECT_EQ(Proposed(), "D:\\Programs\\MP3 Sondrel");
    Store("E:\\");
    EXPECT_EQ(Proposed(), "E:\\MP3 Sondrel");
}

TEST_F(ProgramFilesPathTest, VariablesAreExpandedFromTheEnvironment) {
    const std::string programFiles = getenv("ProgramFiles");
    Store("%ProgramFiles%");
    EXPECT_EQ(Proposed(), programFiles + "\\MP3 Sondrel");
    Store("%ProgramFiles%", REG_EXPAND_SZ);
    EXPECT_EQ(Proposed(), programFiles + "\\MP3 Sondrel");
    // The system's own variable names are not case-sensitive.
    Store("%systemdrive%\\Program Files");
    EXPECT_EQ(Proposed(), std::string(getenv("SystemDrive")) + "\\Program Files\\MP3 Sondrel");
}

TEST_F(ProgramFilesPathTest, MissingEmptyOversizedOrUnexpandableValueFallsBackToTheShellFolder) {
    const std::string expected = ShellProgramFiles() + "\\MP3 Sondrel";
    ASSERT_EQ(expected.rfind("C:\\", 0), 0u) << expected;
    Store(nullptr);
    EXPECT_EQ(Proposed(), expected);
    Store("");
    EXPECT_EQ(Proposed(), expected);
    Store(("D:\\" + std::string(300, 'x')).c_str());
    EXPECT_EQ(Proposed(), expected);
    Store("%SystemDrive%\\%NoSuchVariable%");
    EXPECT_EQ(Proposed(), expected);
    Store("%NoSuchVariable%\\Apps", REG_EXPAND_SZ);
    EXPECT_EQ(Proposed(), expected);
}

}  // namespace
