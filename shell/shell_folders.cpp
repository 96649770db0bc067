#include "shell/shell_folders.h"

#include "framework/registry_text.h"

bool GetShellFolder(const char* valueName, CText* path) {
    return ReadRegistryText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            valueName, path);
}
