#include "framework/busy.h"

namespace {

// Removes every message of one range; true when there was any.
bool Discard(UINT first, UINT last) {
    MSG msg;
    bool any = false;
    while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE | PM_NOYIELD)) any = true;
    return any;
}

// Serves what keeps the windows drawn. Messages sent by other threads are handled by
// the look at the queue itself.
void ServeRepaints() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

void DiscardPendingInput() {
    Discard(WM_KEYFIRST, WM_KEYLAST);
    Discard(WM_MOUSEFIRST, WM_MOUSELAST);
    Discard(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
}

bool WaitServingWindows(HANDLE object, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    HCURSOR cursor = GetCursor();
    for (;;) {
        ServeRepaints();
        if (Discard(WM_MOUSEFIRST, WM_MOUSELAST) | Discard(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK))
            SetCursor(cursor);  // the pointer's window put its own cursor back on the way
        Discard(WM_KEYFIRST, WM_KEYLAST);
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
        // Posted messages left for later must not wake the wait, or it would spin on them.
        DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, timeoutMs - waited,
                                               QS_PAINT | QS_SENDMESSAGE | QS_INPUT);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke == WAIT_FAILED) return false;
    }
}
