// The user's shell folders, as the per-user "Shell Folders" table records them.
#pragma once
#include "framework/wide_path.h"

// The folder named by `valueName` ("Desktop", "Programs" or "Startup"), in UTF-16, so a
// folder named outside the system's code page is found as it is. The table's value counts
// when it is a full path once its "%NAME%" variables are expanded; where it is missing,
// empty, relative, too long or names an unknown variable, the shell is asked for that
// user's folder. False, with an empty path, when neither gives one.
bool GetShellFolder(const char* valueName, CWidePath* path);

// The three value names.
extern const char kDesktopFolder[];
extern const char kProgramsFolder[];
extern const char kStartupFolder[];
