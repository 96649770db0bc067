// The program's entry point, in place of the MinGW runtime's start-up code. setup.exe uses
// nothing that code prepares (command-line arguments, thread-local data, relocation of
// imported data at run time, floating-point set-up, exit handlers), and leaving it out
// keeps several kilobytes of code, data and imports out of the file; the C library
// (msvcrt.dll) sets itself up when it is loaded. Only setup.exe links this file: the test
// programs keep the runtime's own start-up.
#include <windows.h>

extern "C" {

// The static constructors as the linker gathers them: -1, the constructors, then 0. They
// run last to first, as the runtime would run them.
extern void (*__CTOR_LIST__[])();

// The compiler registers the static destructors here. Nothing is destroyed at the end: the
// process ends with ExitProcess, and the system takes back its memory and handles. (The C
// library's own atexit is not the program's to use: the runtime left out here wraps it.)
int atexit(void (*)(void)) { return 0; }

// A 32-bit entry point may be called with a stack aligned to 4 bytes only.
__attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup() {
    size_t count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    for (size_t i = count; i > 0; --i) __CTOR_LIST__[i]();
    char noArguments[] = "";  // the program reads no command line
    ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOWDEFAULT)));
}

}  // extern "C"
