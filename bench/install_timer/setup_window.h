// Our setup program's main dialog, driven as a user drives it: the install folder typed
// in, then Install.
#pragma once

#include <windows.h>

#include <string>

#include "child_process.h"

// Its main dialog once it is up, looked for every few milliseconds: the wait before the
// press is not timed. Fails if the program ends or the dialog does not come.
HWND WaitForSetupDialog(const ChildProcess& setup, DWORD timeoutMs);

void SetInstallFolder(HWND dialog, const std::wstring& folder);

// Posted: the whole install runs inside the button's handler, so a sent press would
// return only at its end.
void PressInstall(HWND dialog);
