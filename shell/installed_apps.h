// The product's entry in Windows' list of installed programs (Settings > Apps, Programs and
// Features): one key under Uninstall, named for the product, so that a re-install updates
// it and never adds a second. A 32-bit program on 64-bit Windows writes it to the 32-bit
// view of the registry, where Windows looks for such a program's entry.
#pragma once
#include <windows.h>

// Writes the entry of the product installed in `installDir`, whose files take
// `installedBytes`. The product works without it, so a failure is only reported to a
// developer (the debugger's output) with the system's error.
void RegisterInstalledProduct(const char* installDir, ULONGLONG installedBytes);
// Removes the entry when it names `installDir`, whose files a failed install may have
// replaced in part: an entry never claims files that are not there.
void ForgetInstalledProduct(const char* installDir);
