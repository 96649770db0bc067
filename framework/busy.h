// What the user does while the program is busy. Input given then is for what was on the
// screen then: it must never answer a question that appears later.
#pragma once
#include <windows.h>

// Drops the keyboard and mouse input waiting in this thread's queue.
void DiscardPendingInput();

// Waits until `object` is signalled or `timeoutMs` has passed, keeping the thread's
// windows alive meanwhile: they are repainted and answer other programs, while keyboard
// and mouse input is dropped and the wait cursor stays. Other posted messages wait for
// the thread's next message loop. True when the object was signalled.
bool WaitServingWindows(HANDLE object, DWORD timeoutMs);
