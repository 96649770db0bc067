// The names are matched as they are: brackets and spaces are ordinary characters.
#include "shell/old_shortcuts.h"

#include <windows.h>

#include "framework/path.h"
#include "shell/shell_folders.h"

namespace {

const char kOldDesktopLink[] = "[ mp3 sondrel ].lnk";
const char kOldGroup[] = "[ mp3 sondrel ]";

// Deletes every file of `folder`, the last one found included; sub-folders stay untouched.
void DeleteFilesIn(const CText& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*.*"), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(JoinPath(folder, found.cFileName));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

bool RemoveOldShortcuts() {
    CText folder;
    if (GetShellFolder("Desktop", &folder)) {
        CText link = JoinPath(folder, kOldDesktopLink);
        if (EntryExists(link)) DeleteFileA(link);
    }
    if (!GetShellFolder("Programs", &folder)) return true;
    CText group = JoinPath(folder, kOldGroup);
    if (!EntryExists(group)) return true;
    DeleteFilesIn(group);
    return RemoveDirectoryA(group) != FALSE;
}
