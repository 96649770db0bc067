// Shortcuts, the previous version's shortcuts and the settings file, with real folders,
// real link files and the real profile service of the Wine prefix.
#include <gtest/gtest.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/setup_dlg.h"
#include "framework/string_table.h"
#include "live_dialog.h"
#include "test_files.h"
#include "shell/old_shortcuts.h"
#include "shell/settings.h"
#include "shell/shell_folders.h"
#include "shell/shortcuts.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell keeps "Shell Folders" as a mirror of this table and rewrites it whenever it
// resolves a folder (saving a link does), so both point at the test's folders.
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kRoot[] = "C:\\shell-tests";
const char kInstallDir[] = "C:\\Apps\\Sondrel";
const std::string kGroup = "[ mp3 - sondrel ]";

bool French() { return TextLanguage() == 0x100C; }

void Touch(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
}

// Runs `fn` on a thread of its own: the object library's state belongs to a thread, and
// each case needs a thread where nothing initialised it yet.
DWORD WINAPI RunFunction(LPVOID p) {
    (*static_cast<std::function<void()>*>(p))();
    return 0;
}
void OnFreshThread(std::function<void()> fn) {
    HANDLE thread = CreateThread(nullptr, 0, RunFunction, &fn, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// The target a link file holds, read back through the shell-link service.
std::string LinkTarget(const std::string& linkFile) {
    std::string target = "<unreadable>";
    OnFreshThread([&] {
        CoInitialize(nullptr);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH);
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
                target = path;
        }
        if (file) file->Release();
        if (link) link->Release();
        CoUninitialize();
    });
    return target;
}

// Points the user's shell folders at fresh folders of the test for its duration.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(kRoot);
        CreateDirectoryA(kRoot, nullptr);
        for (int i = 0; i < 2; ++i) {
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, i ? kUserShellFolders : kShellFolders, 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &m_keys[i], nullptr),
                      ERROR_SUCCESS);
            for (const char* name : {"Desktop", "Programs", "Startup"}) {
                BYTE saved[1024];
                DWORD size = sizeof saved, type = 0;
                if (RegQueryValueExA(m_keys[i], name, nullptr, &type, saved, &size) == ERROR_SUCCESS)
                    m_saved.push_back({i, name, type, std::string(reinterpret_cast<char*>(saved), size)});
            }
        }
        m_key = m_keys[0];
        for (const char* name : {"Desktop", "Programs", "Startup"}) Point(name, std::string(kRoot) + "\\" + name);
        m_installDir = kInstallDir;
    }
    void TearDown() override {
        for (int i = 0; i < 2; ++i)
            for (const char* name : {"Desktop", "Programs", "Startup"}) RegDeleteValueA(m_keys[i], name);
        for (const Saved& v : m_saved)
            RegSetValueExA(m_keys[v.key], v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                           DWORD(v.data.size()));
        for (HKEY key : m_keys) RegCloseKey(key);
    }
    void Point(const char* name, const std::string& folder) {
        CreateDirectoryA(folder.c_str(), nullptr);
        for (HKEY key : m_keys)
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), DWORD(folder.size() + 1));
    }
    void Forget(const char* name) {
        for (HKEY key : m_keys) RegDeleteValueA(key, name);
    }
    std::string Folder(const char* name) { return std::string(kRoot) + "\\" + name; }
    std::string Group() { return Folder("Programs") + "\\" + kGroup; }
    void MakeShortcuts() {
        OnFreshThread([&] { CreateShortcuts(nullptr, m_installDir.c_str(), "HtmlView"); });
    }

    struct Saved {
        int key;
        std::string name;
        DWORD type;
        std::string data;
    };
    HKEY m_keys[2] = {};
    HKEY m_key = nullptr;  // "Shell Folders", the table the program reads
    std::vector<Saved> m_saved;
    std::string m_installDir;
};

TEST_F(ShellTest, NineLinksPointingIntoTheInstallDirectory) {
    MessageBoxWatcher watcher;
    MakeShortcuts();
    const std::string inst = kInstallDir;
    const std::string readme = French() ? "Lisezmoi.htm" : "readme.htm";
    const std::string manual = French() ? "Manuel.htm" : "Manual.htm";
    const std::string readmeLink = French() ? "Lisez moi.lnk" : "Read me.lnk";
    const std::string manualLink = French() ? "Manuel utilisateur.lnk" : "User's manual.lnk";
    const std::string siteLink = French() ? "Site web.lnk" : "Web site.lnk";
    const std::string uninstallLink = French() ? "D\xE9sinstallation.lnk" : "Uninstall.lnk";

    EXPECT_EQ(Entries(Folder("Desktop")), (std::set<std::string>{"[ mp3 - sondrel ].lnk", "[ mp3 - quillo ].lnk"}));
    EXPECT_EQ(Entries(Folder("Startup")), (std::set<std::string>{"[ mp3 - sondrel ].lnk"}));
    EXPECT_EQ(Entries(Folder("Programs")), (std::set<std::string>{kGroup}));
    EXPECT_EQ(Entries(Group()), (std::set<std::string>{"[ mp3 - sondrel ].lnk", readmeLink, manualLink, siteLink,
                                                       uninstallLink, "[ mp3 - quillo ].lnk"}));

    EXPECT_EQ(LinkTarget(Folder("Desktop") + "\\[ mp3 - sondrel ].lnk"), inst + "\\mp3 sondrel.exe");
    EXPECT_EQ(LinkTarget(Folder("Desktop") + "\\[ mp3 - quillo ].lnk"), inst + "\\mp3 quillo.exe");
    EXPECT_EQ(LinkTarget(Folder("Startup") + "\\[ mp3 - sondrel ].lnk"), inst + "\\Tolvane.exe");
    EXPECT_EQ(LinkTarget(Group() + "\\[ mp3 - sondrel ].lnk"), inst + "\\mp3 sondrel.exe");
    EXPECT_EQ(LinkTarget(Group() + "\\" + readmeLink), inst + "\\HtmlView\\" + readme);
    EXPECT_EQ(LinkTarget(Group() + "\\" + manualLink), inst + "\\HtmlView\\" + manual);
    EXPECT_EQ(LinkTarget(Group() + "\\" + siteLink), inst + "\\website.url");
    EXPECT_EQ(LinkTarget(Group() + "\\" + uninstallLink), inst + "\\Uninstall.exe");
    EXPECT_EQ(LinkTarget(Group() + "\\[ mp3 - quillo ].lnk"), inst + "\\mp3 quillo.exe");
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(ShellTest, SecondRunLeavesNineLinksAndReusesTheGroup) {
    MakeShortcuts();
    MakeShortcuts();
    EXPECT_EQ(Entries(Folder("Desktop")).size() + Entries(Group()).size() + Entries(Folder("Startup")).size(), 9u);
    EXPECT_EQ(Entries(Folder("Programs")), (std::set<std::string>{kGroup}));
}

TEST_F(ShellTest, ObjectLibraryAlreadyInitialisedMakesNoLinkAndShowsNothing) {
    OnFreshThread([&] {
        MessageBoxWatcher watcher;
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        CreateShortcuts(nullptr, m_installDir.c_str(), "HtmlView");
        EXPECT_TRUE(watcher.seen().empty());
        CoUninitialize();
    });
    EXPECT_TRUE(Entries(Folder("Desktop")).empty());
    EXPECT_TRUE(Entries(Folder("Programs")).empty()) << "not even the group folder";
}

TEST_F(ShellTest, ShellStepInitialisesTheObjectLibraryOnlyWhenTheBoxIsTicked) {
    CSetupDlg dlg;
    dlg.m_strInstallDir = kInstallDir;
    OnFreshThread([&] {
        dlg.m_bCreateShortcuts = 0;
        dlg.RunShellStep();
        EXPECT_EQ(CoInitialize(nullptr), S_OK) << "the box cleared: never initialised";
        CoUninitialize();
    });
    EXPECT_TRUE(Entries(Folder("Programs")).empty());
    OnFreshThread([&] {
        dlg.m_bCreateShortcuts = 1;
        dlg.RunShellStep();
        EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "ticked: initialised, and never undone";
        CoUninitialize();
    });
    EXPECT_EQ(Entries(Group()).size(), 6u);
}

TEST_F(ShellTest, RowsWhosePathsWouldNotFitAreSkippedInSilence) {
    m_installDir = std::string("C:\\") + std::string(242, 'x');  // 245 characters
    MessageBoxWatcher watcher;
    MakeShortcuts();
    // Targets of up to 259 characters: "\\website.url", "\\Uninstall.exe", "\\Tolvane.exe".
    EXPECT_EQ(Entries(Group()), (std::set<std::string>{French() ? "Site web.lnk" : "Web site.lnk",
                                                       French() ? "D\xE9sinstallation.lnk" : "Uninstall.lnk"}));
    EXPECT_TRUE(Entries(Folder("Desktop")).empty());
    EXPECT_EQ(Entries(Folder("Startup")).size(), 1u);
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(ShellTest, NoOldVersionIsSuccess) {
    Touch(Folder("Desktop") + "\\[ mp3 - sondrel ].lnk");
    CreateDirectoryA(Group().c_str(), nullptr);
    Touch(Group() + "\\[ mp3 - sondrel ].lnk");
    EXPECT_TRUE(RemoveOldShortcuts());
    EXPECT_TRUE(Exists(Folder("Desktop") + "\\[ mp3 - sondrel ].lnk")) << "the current names are never touched";
    EXPECT_TRUE(Exists(Group() + "\\[ mp3 - sondrel ].lnk"));
}

TEST_F(ShellTest, OldGroupIsEmptiedAndRemovedAndTheOldDesktopLinkDeleted) {
    const std::string old = Folder("Programs") + "\\[ mp3 sondrel ]";
    CreateDirectoryA(old.c_str(), nullptr);
    for (const char* name : {"[ mp3 sondrel ].lnk", "Read me.lnk", "Uninstall"}) Touch(old + "\\" + name);
    Touch(Folder("Desktop") + "\\[ mp3 sondrel ].lnk");
    Touch(Folder("Desktop") + "\\[ mp3 sondrel ].lnk.bak");
    Touch(Folder("Startup") + "\\[ mp3 sondrel ].lnk");
    MessageBoxWatcher watcher;
    EXPECT_TRUE(RemoveOldShortcuts());
    EXPECT_FALSE(Exists(old));
    EXPECT_EQ(Entries(Folder("Desktop")), (std::set<std::string>{"[ mp3 sondrel ].lnk.bak"}));
    EXPECT_TRUE(Exists(Folder("Startup") + "\\[ mp3 sondrel ].lnk")) << "the startup folder is not looked at";
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(ShellTest, OldGroupWithASubFolderStaysAndTheResultIsFailure) {
    const std::string old = Folder("Programs") + "\\[ mp3 sondrel ]";
    CreateDirectoryA(old.c_str(), nullptr);
    CreateDirectoryA((old + "\\Extras").c_str(), nullptr);
    Touch(old + "\\Extras\\kept.lnk");
    Touch(old + "\\a.lnk");
    Touch(old + "\\b.lnk");
    CreateDirectoryA((Folder("Desktop") + "\\[ mp3 sondrel ].lnk").c_str(), nullptr);
    MessageBoxWatcher watcher;
    EXPECT_FALSE(RemoveOldShortcuts());
    EXPECT_EQ(Entries(old), (std::set<std::string>{"Extras"}));
    EXPECT_TRUE(Exists(old + "\\Extras\\kept.lnk"));
    EXPECT_TRUE(Exists(Folder("Desktop") + "\\[ mp3 sondrel ].lnk")) << "a folder of the old link's name stays";
    EXPECT_TRUE(watcher.seen().empty());
}

// What "Shell Folders" may hold, and where the links then go: a value that is no full
// folder gives way to the user's own folder, as the shell names it from "User Shell
// Folders" (here the test's folders), and nothing lands at the drive's root.
void SetText(HKEY key, const char* name, const std::string& text, DWORD type = REG_SZ) {
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
}

TEST_F(ShellTest, EveryValueOfTheTableGivesTheUsersOwnFoldersOrNone) {
    SetEnvironmentVariableA("SHELL_TESTS", kRoot);
    // Expanded in place, not replaced by the shell's answer, which names another folder here.
    SetText(m_keys[1], "Desktop", Folder("Elsewhere"));
    SetText(m_key, "Desktop", "%SHELL_TESTS%\\Desktop", REG_EXPAND_SZ);
    CWidePath desktop;
    CText ansi;
    EXPECT_TRUE(GetShellFolder("Desktop", &desktop) && desktop.ToAnsi(&ansi));
    EXPECT_EQ(std::string(ansi.c_str()), Folder("Desktop"));
    SetText(m_keys[1], "Desktop", Folder("Desktop"));

    struct Value {
        const char* prefix;  // the value is this and the folder's name; "": empty; nullptr: none
        DWORD type;
    };
    const Value values[] = {{"", REG_SZ},
                            {nullptr, REG_SZ},
                            {"%SHELL_TESTS%\\", REG_EXPAND_SZ},
                            {"%SHELL_TESTS%\\", REG_SZ},
                            {"%NoSuchVariable%\\", REG_EXPAND_SZ},
                            {"shell-tests\\", REG_SZ}};
    const std::set<std::string> rootBefore = Entries("C:");
    for (const Value& value : values) {
        for (const char* name : {"Desktop", "Programs", "Startup"}) {
            RegDeleteValueA(m_key, name);
            const std::string text = value.prefix && *value.prefix ? value.prefix + std::string(name) : "";
            if (value.prefix) SetText(m_key, name, text, value.type);
        }
        const std::string old = Folder("Programs") + "\\[ mp3 sondrel ]";
        CreateDirectoryA(old.c_str(), nullptr);
        Touch(old + "\\Read me.lnk");
        EXPECT_TRUE(RemoveOldShortcuts());
        const std::string label = value.prefix ? value.prefix : "(none)";
        EXPECT_FALSE(Exists(old)) << label;
        MakeShortcuts();
        EXPECT_EQ(Entries(Folder("Desktop")).size(), 2u) << label;
        EXPECT_EQ(Entries(Group()).size(), 6u) << label;
        EXPECT_EQ(Entries(Folder("Startup")).size(), 1u) << label;
        EXPECT_EQ(Entries("C:"), rootBefore) << label << ": no link anywhere else";
        for (const char* name : {"Desktop", "Programs", "Startup"}) {
            RemoveTree(Folder(name));
            CreateDirectoryA(Folder(name).c_str(), nullptr);
        }
    }
}

TEST_F(ShellTest, AFolderNeitherTheTableNorTheShellCanGiveSkipsOnlyItsRows) {
    const std::string nowhere = std::string(kRoot) + "\\Nowhere";
    SetText(m_keys[1], "Startup", nowhere);
    SetText(m_key, "Startup", "");
    const std::set<std::string> rootBefore = Entries("C:");
    MakeShortcuts();
    EXPECT_EQ(Entries(Folder("Desktop")).size(), 2u);
    EXPECT_EQ(Entries(Group()).size(), 6u);
    EXPECT_FALSE(Exists(nowhere));
    EXPECT_EQ(Entries("C:"), rootBefore) << "no link lands anywhere else";
}

// --- The settings file ---------------------------------------------------------------------

std::string SettingsPath() {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\MP3 SONDREL.INI";
}

std::string SettingsText() {
    HANDLE f = CreateFileA(SettingsPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "";
    char buffer[8192] = {};
    DWORD n = 0;
    ReadFile(f, buffer, sizeof buffer - 1, &n, nullptr);
    CloseHandle(f);
    return std::string(buffer, n);
}

void WriteSettingsText(const std::string& text) {
    HANDLE f = CreateFileA(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n;
    WriteFile(f, text.data(), DWORD(text.size()), &n, nullptr);
    CloseHandle(f);
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(Settings, WritesChangeOneKeyAndKeepEverythingElse) {
    DeleteFileA(SettingsPath().c_str());
    EXPECT_TRUE(WriteSetupSetting("InstallPath", "C:\\First"));
    EXPECT_TRUE(WriteSetupSetting("Player", "1"));
    WriteSettingsText(SettingsText() + "[Window]\r\nLeft=10\r\n");
    WritePrivateProfileStringA("Setup", "Skin", "dark", "MP3 SONDREL.INI");  // another program's key
    EXPECT_TRUE(WriteSetupSetting("InstallPath", "D:\\Second"));
    std::string text = SettingsText();
    EXPECT_EQ(Count(text, "InstallPath="), 1u);
    EXPECT_NE(text.find("InstallPath=D:\\Second"), std::string::npos);
    EXPECT_NE(text.find("Player=1"), std::string::npos);
    EXPECT_NE(text.find("Skin=dark"), std::string::npos);
    EXPECT_NE(text.find("[Window]"), std::string::npos);
    EXPECT_NE(text.find("Left=10"), std::string::npos);
}

TEST(Settings, AKeyWrittenInAnotherCaseIsUpdatedInPlace) {
    WriteSettingsText("[setup]\r\ninstallpath=C:\\Old\r\nPlayer=0\r\n");
    EXPECT_TRUE(WriteSetupSetting("InstallPath", "C:\\New"));
    std::string text = SettingsText();
    EXPECT_EQ(Count(text, "="), 2u) << text;
    EXPECT_EQ(text.find("C:\\Old"), std::string::npos) << text;
    EXPECT_NE(text.find("=C:\\New"), std::string::npos) << text;
}

TEST(Settings, MailingListFlagReadsAsTheProfileServiceReadsNumbers) {
    DeleteFileA(SettingsPath().c_str());
    EXPECT_EQ(ReadMailingListFlag(), 0u) << "no file";
    WriteSettingsText("[Setup]\r\nInstallPath=C:\\x\r\n");
    EXPECT_EQ(ReadMailingListFlag(), 0u) << "no key";
    for (auto [value, expected] : std::vector<std::pair<const char*, UINT>>{{"1", 1}, {"2", 2}, {"0", 0}, {"abc", 0}}) {
        WriteSetupSetting("MailingList", value);
        EXPECT_EQ(ReadMailingListFlag(), expected) << value;
    }
}

}  // namespace
