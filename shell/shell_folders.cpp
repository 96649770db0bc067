#include "shell/shell_folders.h"

#include <shlobj.h>
#include <string.h>

#include "framework/folder_path.h"
#include "framework/registry_text.h"

const char kDesktopFolder[] = "Desktop";
const char kProgramsFolder[] = "Programs";
const char kStartupFolder[] = "Startup";

namespace {

// The shell's own name of each folder, for when the table gives none.
int ShellFolderId(const char* valueName) {
    if (strcmp(valueName, kDesktopFolder) == 0) return CSIDL_DESKTOPDIRECTORY;
    if (strcmp(valueName, kProgramsFolder) == 0) return CSIDL_PROGRAMS;
    if (strcmp(valueName, kStartupFolder) == 0) return CSIDL_STARTUP;
    return -1;
}

// A folder the links can go to: a full path, with every "%NAME%" in it expanded. An empty
// or relative text would put them at a drive's root or wherever the program runs.
bool MadeUsable(CWidePath* path) {
    WCHAR expanded[kMaxPathChars + 1];
    DWORD n = ExpandEnvironmentStringsW(path->c_str(), expanded, kMaxPathChars + 1);
    if (n == 0 || n > kMaxPathChars + 1 || !path->Assign(expanded, n - 1)) return false;
    for (const WCHAR* p = expanded; *p; ++p)
        if (*p == L'%') return false;  // a variable the system does not know
    return FullPathRoot(*path) != 0;
}

bool AskTheShell(const char* valueName, CWidePath* path) {
    WCHAR folder[MAX_PATH];
    int id = ShellFolderId(valueName);
    return id >= 0 && SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK &&
           path->Assign(folder, wcslen(folder)) && MadeUsable(path);
}

}  // namespace

bool GetShellFolder(const char* valueName, CWidePath* path) {
    if (ReadRegistryPath(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         valueName, path) &&
        MadeUsable(path))
        return true;
    if (AskTheShell(valueName, path)) return true;
    path->Assign(L"", 0);
    return false;
}
