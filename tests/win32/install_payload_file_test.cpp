// Extraction of payload entries with real files of the Wine prefix: files in use,
// read-only files, folders in the way, long paths, and a small drive that fills up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/setup_dlg.h"
#include "codec/szdd.h"
#include "framework/string_table.h"
#include "live_dialog.h"
#include "payload/catalogue.h"
#include "payload/install_payload_file.h"
#include "test_files.h"

namespace {

// A fresh install directory (with "HtmlView" unless told otherwise) under `root`.
std::string FreshDir(const std::string& name, bool htmlView = true, const std::string& root = "C:\\payload-tests") {
    CreateDirectoryA(root.c_str(), nullptr);
    std::string dir = root + "\\" + name;
    RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    if (htmlView) CreateDirectoryA((dir + "\\HtmlView").c_str(), nullptr);
    return dir;
}

// The uncompressed source of an entry, from the folder the build packed.
std::string Source(const PayloadEntry& e) {
    const char* folder = getenv("SONDREL_PAYLOAD_FOLDER");
    std::string path = std::string("Z:") + (folder ? folder : "/nonexistent");
    for (char& c : path) if (c == '/') c = '\\';
    return Slurp(path + "\\" + LoadText(e.nameId).c_str());
}

std::string Target(const std::string& dir, const PayloadEntry& e) {
    return dir + (e.subFolder ? std::string("\\") + e.subFolder : "") + "\\" + LoadText(e.nameId).c_str();
}

struct Outcome {
    int written;
    bool raised;
    std::string message;
};

Outcome Install(const std::string& dir, const PayloadEntry& e) {
    int written = -1;
    CFailure f = InstallPayloadFile(nullptr, dir.c_str(), e, &written);
    return {written, f.IsRaised(), f.Message().c_str()};
}

const PayloadEntry& Entry(const char* resource) {
    for (const PayloadEntry& e : kPayloadCatalogue)
        if (std::string(e.resourceName) == resource) return e;
    abort();
}

// Stored and expanded size of an entry's resource.
std::pair<long, long> Sizes(const PayloadEntry& e) {
    HRSRC r = FindResourceA(nullptr, e.resourceName, "FILE");
    const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, r)));
    szdd::Header header;
    szdd::ParseHeader(bytes, SizeofResource(nullptr, r), &header);
    return {SizeofResource(nullptr, r), header.expandedLength};
}

class InstallPayloadFileTest : public ::testing::Test {
protected:
    std::string installDir;
};

TEST_F(InstallPayloadFileTest, WritesEveryEntryExactlyAndLeavesNoScratchFile) {
    installDir = FreshDir("all");
    MessageBoxWatcher watcher;
    for (const PayloadEntry& e : kPayloadCatalogue) {
        SCOPED_TRACE(e.resourceName);
        Outcome o = Install(installDir, e);
        EXPECT_EQ(o.written, 1);
        EXPECT_FALSE(o.raised);
        std::string source = Source(e);
        ASSERT_NE(source, "<missing>");
        EXPECT_TRUE(Slurp(Target(installDir, e)) == source);
        EXPECT_EQ(size_t(Sizes(e).second), source.size()) << "the header gives the expanded length";
        EXPECT_FALSE(Exists(installDir + "\\dummy.tmp"));
    }
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(InstallPayloadFileTest, ExistingTargetIsReplacedWithoutAQuestion) {
    std::string dir = FreshDir("replace");
    installDir = dir;
    const PayloadEntry& e = Entry("EDF1");
    Spit(Target(dir, e), std::string(5000, 'x'));  // longer than the new file: no tail may remain
    MessageBoxWatcher watcher;
    EXPECT_EQ(Install(installDir, e).written, 1);
    EXPECT_TRUE(Slurp(Target(dir, e)) == Source(e));
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(InstallPayloadFileTest, TargetInUseAsksUntilItIsReleased) {
    std::string dir = FreshDir("in-use");
    installDir = dir;
    const PayloadEntry& e = Entry("SONDREL");
    std::string target = Target(dir, e);
    Spit(target, "old program");
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    MessageBoxWatcher watcher({IDOK, {IDOK, [&] { CloseHandle(holder); }}});
    Outcome o = Install(dir, e);
    EXPECT_EQ(o.written, 1);
    EXPECT_TRUE(Slurp(target) == Source(e));
    ASSERT_EQ(watcher.seen().size(), 2u) << "OK without releasing the file asks again";
    const SeenMessageBox& box = watcher.seen()[0];
    EXPECT_EQ(box.text, std::string("Cannot update file ") + target +
                            ". \nThis file is probably currently running or used by another application. "
                            "\nPlease try to close it before continuing.\n Continue ?");
    EXPECT_EQ(box.caption, "[ mp3 - sondrel ] setup");
    EXPECT_EQ(box.icon, "question");
    EXPECT_FALSE(Exists(dir + "\\dummy.tmp"));
}

TEST_F(InstallPayloadFileTest, PromptIsOwnedByTheSetupDialog) {
    std::string dir = FreshDir("owner");
    const PayloadEntry& e = Entry("WEBSITE");
    CreateDirectoryA(Target(dir, e).c_str(), nullptr);  // a folder in the way: always asks
    MessageBoxWatcher watcher({IDCANCEL});
    LiveDialog<CSetupDlg> live;
    live.m_strInstallDir = dir.c_str();
    HWND dialog = nullptr;
    live.body = [&](LiveDialog<CSetupDlg>& d) {
        dialog = d.m_hWnd;
        int written = 0;
        d.InstallPayloadFile(e, &written);  // the dialog hands its own window
    };
    live.DoModal();
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].owner, dialog);
}

TEST_F(InstallPayloadFileTest, CancelKeepsTheOldFileAndRemovesTheScratchFile) {
    std::string dir = FreshDir("cancel");
    installDir = dir;
    const PayloadEntry& e = Entry("PLAYER");
    std::string target = Target(dir, e);
    Spit(target, "old player");
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    MessageBoxWatcher watcher({IDCANCEL});
    EXPECT_EQ(Install(installDir, e).written, 0);
    CloseHandle(holder);
    EXPECT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(Slurp(target), "old player");
    EXPECT_FALSE(Exists(dir + "\\dummy.tmp"));
}

TEST_F(InstallPayloadFileTest, ReadOnlyTargetOrAFolderInTheWayAsksAfterEveryOk) {
    std::string dir = FreshDir("blocked");
    installDir = dir;
    const PayloadEntry& readOnly = Entry("EDF2");
    Spit(Target(dir, readOnly), "kept");
    SetFileAttributesA(Target(dir, readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    const PayloadEntry& folder = Entry("UNINST");
    CreateDirectoryA(Target(dir, folder).c_str(), nullptr);
    {
        MessageBoxWatcher watcher({IDCANCEL});
        EXPECT_EQ(Install(installDir, readOnly).written, 0);
        EXPECT_EQ(watcher.seen().size(), 1u);
        EXPECT_EQ(Slurp(Target(dir, readOnly)), "kept");
    }
    {
        MessageBoxWatcher watcher({IDOK, IDOK, IDCANCEL});
        EXPECT_EQ(Install(installDir, folder).written, 0);
        EXPECT_EQ(watcher.seen().size(), 3u);
        EXPECT_TRUE(GetFileAttributesA(Target(dir, folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    }
    EXPECT_FALSE(Exists(dir + "\\dummy.tmp"));
}

TEST_F(InstallPayloadFileTest, MissingFoldersFailWithoutAQuestionAndLeaveNothing) {
    std::string dir = FreshDir("no-htmlview", false);
    installDir = dir;
    MessageBoxWatcher watcher;
    EXPECT_EQ(Install(installDir, Entry("README")).written, 0);
    EXPECT_FALSE(Exists(dir + "\\dummy.tmp"));
    EXPECT_FALSE(Exists(dir + "\\HtmlView"));

    installDir = dir + "\\not-there";
    EXPECT_EQ(Install(installDir, Entry("SONDREL")).written, 0);
    EXPECT_FALSE(Exists(dir + "\\not-there"));
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(InstallPayloadFileTest, UnknownResourceTouchesNothing) {
    std::string dir = FreshDir("unknown");
    installDir = dir;
    int written = -1;
    EXPECT_FALSE(InstallPayloadFile(nullptr, installDir.c_str(), PayloadEntry{"NOSUCHFILE", IDS_FILE_MAIN_APP, nullptr}, &written).IsRaised());
    EXPECT_EQ(written, 0);
    EXPECT_FALSE(Exists(dir + "\\dummy.tmp"));
    EXPECT_FALSE(Exists(dir + "\\mp3 sondrel.exe"));
}

TEST_F(InstallPayloadFileTest, StaleScratchFileThatCannotBeOverwrittenIsNeverExpandedInstead) {
    std::string dir = FreshDir("stale");
    installDir = dir;
    // A valid compressed file of other contents, left by an earlier run and still open
    // elsewhere for reading only: it cannot be rewritten, yet the LZ service could read it.
    // (A read-only attribute would do the same on Windows; under Wine, root ignores it.)
    std::string stale = dir + "\\dummy.tmp";
    Spit(stale, std::string("SZDD\x88\xF0\x27\x33\x41\x00\x05\x00\x00\x00\x1F" "stale", 20));
    HANDLE holder = CreateFileA(stale.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const PayloadEntry& e = Entry("WEBSITE");
    EXPECT_EQ(Install(installDir, e).written, 0);
    CloseHandle(holder);
    EXPECT_FALSE(Exists(Target(dir, e)));
    EXPECT_EQ(Slurp(stale).size(), 20u);
}

TEST_F(InstallPayloadFileTest, PathsPast128CharactersWorkAndPast259FailUntouched) {
    std::string dir = FreshDir("long", true);
    std::string deep = dir + "\\" + std::string(150, 'd');  // the old named opens stop at 128
    CreateDirectoryA(deep.c_str(), nullptr);
    CreateDirectoryA((deep + "\\HtmlView").c_str(), nullptr);
    installDir = deep;
    const PayloadEntry& e = Entry("MANUAL");
    ASSERT_GT(Target(deep, e).size(), 128u);
    EXPECT_EQ(Install(installDir, e).written, 1);
    EXPECT_TRUE(Slurp(Target(deep, e)) == Source(e));

    std::string deeper = deep + "\\" + std::string(259 - deep.size() - 12, 'e');  // "\dummy.tmp" fits, names do not
    ASSERT_TRUE(CreateDirectoryA(deeper.c_str(), nullptr)) << deeper.size();
    installDir = deeper;
    MessageBoxWatcher watcher;
    EXPECT_EQ(Install(installDir, Entry("PFVTEMPLATE")).written, 0);
    EXPECT_FALSE(Exists(deeper + "\\dummy.tmp"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((deeper + "\\*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do ++entries; while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(entries, 2) << "only . and ..";
}

// --- A small drive (T:, a memory file system) that fills up -------------------------------

// Only a small drive is ever filled: where T: is missing or is a folder of a real disk, the
// test fails before it writes anything there.
void RequireSmallDrive() {
    const ULONGLONG kSmallDriveMost = 16ull << 20;
    ULARGE_INTEGER total;
    ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", nullptr, &total, nullptr)) << "drive T: is missing";
    ASSERT_LE(total.QuadPart, kSmallDriveMost) << "drive T: is not the small memory drive";
}

// Fills the drive so that about `free` bytes (whole pages) are left.
void LeaveFree(const std::string& filler, ULONGLONG free) {
    ULARGE_INTEGER available;
    ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", &available, nullptr, nullptr)) << "drive T: is missing";
    ASSERT_GT(available.QuadPart, free);
    ULONGLONG left = available.QuadPart - free;
    HANDLE f = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string chunk(65536, 'f');
    DWORD n;
    while (left) {
        DWORD piece = DWORD(left < chunk.size() ? left : chunk.size());
        ASSERT_TRUE(WriteFile(f, chunk.data(), piece, &n, nullptr));
        left -= piece;
    }
    CloseHandle(f);
}

TEST_F(InstallPayloadFileTest, DiskFullWhileWritingTheScratchFileIsRaisedWithItsPath) {
    ASSERT_NO_FATAL_FAILURE(RequireSmallDrive());
    std::string dir = FreshDir("full-scratch", true, "T:\\tests");
    const PayloadEntry* largest = &kPayloadCatalogue[0];
    for (const PayloadEntry& e : kPayloadCatalogue)
        if (Sizes(e).first > Sizes(*largest).first) largest = &e;
    ASSERT_GT(Sizes(*largest).first, 8192);
    ASSERT_NO_FATAL_FAILURE(LeaveFree(dir + "\\filler", 4096));
    installDir = dir;
    Outcome o = Install(installDir, *largest);
    DeleteFileA((dir + "\\filler").c_str());
    EXPECT_TRUE(o.raised);
    EXPECT_EQ(o.message, "Disk full while accessing " + dir + "\\dummy.tmp.");
    EXPECT_TRUE(Exists(dir + "\\dummy.tmp")) << "the partly written scratch file stays";
    EXPECT_FALSE(Exists(Target(dir, *largest)));
    RemoveTree(dir);
}

TEST_F(InstallPayloadFileTest, DiskFullWhileExpandingGivesAPartialTargetAndNoScratchFile) {
    ASSERT_NO_FATAL_FAILURE(RequireSmallDrive());
    std::string dir = FreshDir("full-expand", true, "T:\\tests");
    const PayloadEntry* best = &kPayloadCatalogue[0];
    for (const PayloadEntry& e : kPayloadCatalogue)
        if (Sizes(e).second - Sizes(e).first > Sizes(*best).second - Sizes(*best).first) best = &e;
    auto [stored, expanded] = Sizes(*best);
    ASSERT_GT(expanded, stored + 3 * 4096) << "the payload needs an entry that grows when expanded";
    ULONGLONG room = ULONGLONG(stored + 4095) / 4096 * 4096 + 4096;  // the scratch file fits, the target does not
    ASSERT_NO_FATAL_FAILURE(LeaveFree(dir + "\\filler", room));
    installDir = dir;
    Outcome o = Install(installDir, *best);
    DeleteFileA((dir + "\\filler").c_str());
    EXPECT_FALSE(o.raised);
    EXPECT_EQ(o.written, 0);
    EXPECT_FALSE(Exists(dir + "\\dummy.tmp"));
    std::string partial = Slurp(Target(dir, *best));
    EXPECT_NE(partial, "<missing>");
    EXPECT_LT(long(partial.size()), expanded);
    RemoveTree(dir);
}

}  // namespace
