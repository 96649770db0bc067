// The names are matched as they are: brackets and spaces are ordinary characters. The
// folders are read and searched in UTF-16, like the folders the new links go to.
#include "shell/old_shortcuts.h"

#include <windows.h>

#include "shell/shell_folders.h"

namespace {

const char kOldDesktopLink[] = "[ mp3 sondrel ].lnk";
const char kOldGroup[] = "[ mp3 sondrel ]";

// Deletes every file of `folder`, the last one found included; sub-folders stay untouched.
void DeleteFilesIn(const CWidePath& folder) {
    CWidePath pattern = folder;
    if (!pattern.JoinAnsi("*.*")) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        CWidePath file = folder;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && file.Join(found.cFileName, WideLength(found.cFileName)))
            DeleteFileW(file.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

bool RemoveOldShortcuts() {
    CWidePath link;
    if (GetShellFolder(kDesktopFolder, &link) && link.JoinAnsi(kOldDesktopLink) && link.Exists())
        DeleteFileW(link.c_str());  // a folder of that name stays
    CWidePath group;
    if (!GetShellFolder(kProgramsFolder, &group) || !group.JoinAnsi(kOldGroup) || !group.Exists()) return true;
    DeleteFilesIn(group);
    return RemoveDirectoryW(group.c_str()) != FALSE;
}
