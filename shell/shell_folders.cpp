#include "shell/shell_folders.h"

#include <windows.h>

bool GetShellFolder(const char* valueName, CText* path) {
    *path = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer - 1;  // the stored text need not bring its own terminator
    LONG status = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    *path = buffer;
    return true;
}
