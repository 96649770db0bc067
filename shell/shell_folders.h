// The user's shell folders, as the per-user "Shell Folders" table records them.
#pragma once
#include "framework/text.h"

// The folder named by `valueName` ("Desktop", "Programs" or "Startup"), taken as stored:
// no expansion. False, with an empty path, when the table or the value cannot be read
// or the value does not fit a path buffer.
bool GetShellFolder(const char* valueName, CText* path);
