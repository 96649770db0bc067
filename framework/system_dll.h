// DLLs other than the few the Windows loader protects are loaded at run time from
// the system directory only: a setup program is started from a downloads folder,
// where anyone may have left a DLL of the same name.
#pragma once
#include <windows.h>

namespace sysdll {

// Restricts the process's DLL search to the system directory where Windows allows it.
void RestrictSearchPath();

// The module of a system DLL, loaded once and kept for the life of the process.
HMODULE Load(const char* name);

// A function of a system DLL, or nullptr when the DLL or the function is missing.
FARPROC Find(const char* dll, const char* function);

template <typename Fn>
Fn Function(const char* dll, const char* function) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(Find(dll, function)));
}

// Sets `fn` to a function of a system DLL; false when the DLL or the function is missing.
template <typename Fn>
bool Bind(Fn& fn, const char* dll, const char* function) {
    fn = Function<Fn>(dll, function);
    return fn != nullptr;
}

}  // namespace sysdll
