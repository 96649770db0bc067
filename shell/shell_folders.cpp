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

}  // namespace

bool GetShellFolder(const char* valueName, CWidePath* path) {
    if (ReadRegistryPath(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         valueName, path) &&
        ExpandFolderPath(path))
        return true;
    const int id = ShellFolderId(valueName);
    if (id >= 0 && GetKnownFolder(id, path)) return true;
    path->Assign(L"", 0);
    return false;
}
