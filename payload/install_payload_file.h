// Writes one payload entry to its place under the install directory.
#pragma once
#include <windows.h>

#include "framework/failure.h"
#include "payload/catalogue.h"

// The compressed bytes go unchanged to the scratch file "dummy.tmp" in `installDir`, the
// old target is deleted (the user is asked, in boxes owned by `owner`, to close it while
// it is in use), and the system's LZ service expands the scratch file into the target.
// *written is 1 when the target holds the whole expanded file, else 0. A failure to write
// the scratch file is raised with its path. Nothing on disk is touched for an entry whose
// bytes are not those the build packed, or whose paths would pass the path limit.
CFailure InstallPayloadFile(HWND owner, const char* installDir, const PayloadEntry& entry, int* written);

// The bytes the payload's files take under `installDir`, as they are on disk.
ULONGLONG InstalledPayloadBytes(const char* installDir);

// True when every path the payload writes under `installDir` (each entry's file, in the
// run's language, and the scratch file) fits the path limit; the links point at those
// same files.
bool PayloadFitsUnder(const char* installDir);
