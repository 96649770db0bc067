// The blocking wait for the timed program's end, during which its dialogs are served.
#pragma once

#include <windows.h>

#include <functional>

#include "dialog_watch.h"

// Waits on the process handle, dispatching this thread's messages (the watch's events
// come that way) and handing each new dialog to `onDialog` as it comes. Gives the time
// the process ended; fails past `timeoutMs`.
double WaitForEnd(HANDLE process, DialogWatch& watch, const std::function<void(const NewDialog&)>& onDialog,
                  DWORD timeoutMs);
