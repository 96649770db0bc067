// The user's shell folders, as the per-user "Shell Folders" table records them.
#pragma once
#include "framework/wide_path.h"

// The folder named by `valueName` ("Desktop", "Programs" or "Startup"), taken as stored:
// no expansion, and in UTF-16, so a folder named outside the system's code page is found
// as it is. False, with an empty path, when the table or the value cannot be read or the
// value does not fit a path buffer.
bool GetShellFolder(const char* valueName, CWidePath* path);

// The three value names.
extern const char kDesktopFolder[];
extern const char kProgramsFolder[];
extern const char kStartupFolder[];
