// The texts of file errors that a command raises: the cause, worded for the user in the
// run's language, with the full path of the file concerned.
#pragma once
#include <windows.h>

#include "framework/failure.h"

// The failure to raise for the system's error `systemError` on the file at `path`.
CFailure RaiseFileError(DWORD systemError, const char* path);
