#include "shell/shell_folders.h"

#include "framework/registry_text.h"

const char kDesktopFolder[] = "Desktop";
const char kProgramsFolder[] = "Programs";
const char kStartupFolder[] = "Startup";

bool GetShellFolder(const char* valueName, CWidePath* path) {
    return ReadRegistryPath(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            valueName, path);
}
