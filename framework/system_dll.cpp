#include "framework/system_dll.h"

#include <string.h>

namespace sysdll {

namespace {
// Set when SetDefaultDllDirectories exists: LoadLibraryEx then understands the flag below.
bool g_searchFlagsKnown = false;
}  // namespace

void RestrictSearchPath() {
    using SetDirsFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDirs = reinterpret_cast<SetDirsFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirs && setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32)) g_searchFlagsKnown = true;
    SetDllDirectoryA("");  // drops the current directory from the search where nothing else can
}

HMODULE Load(const char* name) {
    if (HMODULE loaded = GetModuleHandleA(name)) return loaded;
    if (g_searchFlagsKnown) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Older systems: name the file in the system directory in full.
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + strlen(name) >= MAX_PATH) return nullptr;
    path[n] = '\\';
    memmove(path + n + 1, name, strlen(name) + 1);
    return LoadLibraryExA(path, nullptr, 0);
}

FARPROC Find(const char* dll, const char* function) {
    HMODULE module = Load(dll);
    return module ? GetProcAddress(module, function) : nullptr;
}

}  // namespace sysdll
