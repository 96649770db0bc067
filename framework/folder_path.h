// What Windows takes as the full path of a folder, checked in UTF-16 (so that the second
// byte of a double-byte character is never mistaken for a separator) before anything is
// made from it.
#pragma once
#include "framework/wide_path.h"

enum class PathFault {
    kNone,
    kNotFull,        // neither a drive and ":\" nor "\\server\share"
    kForbiddenChar,  // < > : " | ? * or a control character in a name
    kReservedName,   // a device name: CON, NUL, COM1, LPT1... with or without an extension
    kBadEnding,      // a name that ends in a blank or a dot ("." and ".." aside)
    kCount           // not a fault: what the tables of faults count to
};

// The length of the root of `path`: 3 for "C:\", the whole "\\server\share" with the
// separator that follows it, 0 when the path is not a full one.
size_t FullPathRoot(const CWidePath& path);

// Checks `path` and every name below its root. On a fault, *culprit is the name at fault
// (the whole path for kNotFull and kForbiddenChar).
PathFault CheckFolderPath(const CWidePath& path, CWidePath* culprit);

// A folder as a stored text means it: its "%NAME%" variables expanded from the
// environment. False when a variable is unknown, or the result does not fit or is not a
// full path: an empty or relative text would put files at a drive's root or wherever the
// program runs.
bool ExpandFolderPath(CWidePath* path);

// The shell's folder `csidl` (CSIDL_PROGRAM_FILES, CSIDL_DESKTOPDIRECTORY...) for this
// user, checked as ExpandFolderPath checks; false when the shell has none.
bool GetKnownFolder(int csidl, CWidePath* path);
