#include "framework/registry_text.h"

bool ReadRegistryPath(HKEY root, const char* subKey, const char* value, CWidePath* path) {
    path->Assign(L"", 0);
    CWidePath key, name;  // the names are plain ASCII
    if (!key.AssignAnsi(subKey) || !name.AssignAnsi(value)) return false;
    HKEY opened;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    WCHAR buffer[kMaxPathChars + 1] = {};
    DWORD size = sizeof buffer - sizeof(WCHAR);  // the stored text need not bring its own terminator
    LONG status = RegQueryValueExW(opened, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS) return false;
    size_t length = size / sizeof(WCHAR);
    while (length > 0 && buffer[length - 1] == L'\0') --length;
    return path->Assign(buffer, length);
}
