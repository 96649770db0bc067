#include "framework/registry_text.h"

bool ReadRegistryText(HKEY root, const char* subKey, const char* value, CText* text) {
    *text = "";
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer - 1;  // the stored text need not bring its own terminator
    LONG status = RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    *text = buffer;
    return true;
}
