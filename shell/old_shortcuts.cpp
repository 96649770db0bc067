// Removal of the previous version's shortcuts: its desktop link and its program group,
// both named without the dash the current names carry. The names are matched as they
// are: brackets and spaces are ordinary characters.
#include "app/setup_dlg.h"
#include "framework/path.h"
#include "shell/shell_folders.h"

namespace {

const char kOldDesktopLink[] = "[ mp3 sondrel ].lnk";
const char kOldGroup[] = "[ mp3 sondrel ]";

// Deletes every file of `folder`, the last one found included; sub-folders stay untouched.
void DeleteFilesIn(const CText& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder + "\\*.*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(folder + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

BOOL CSetupDlg::RemoveOldShortcuts() {
    CText folder;
    if (GetShellFolder("Desktop", &folder)) {
        CText link = folder + "\\" + kOldDesktopLink;
        if (EntryExists(link)) DeleteFileA(link);  // a folder of that name stays
    }
    if (!GetShellFolder("Programs", &folder)) return TRUE;
    CText group = folder + "\\" + kOldGroup;
    if (!EntryExists(group)) return TRUE;
    DeleteFilesIn(group);
    return RemoveDirectoryA(group) ? TRUE : FALSE;
}
