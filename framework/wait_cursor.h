// The hourglass for work that keeps the user-interface thread busy: on from
// construction to destruction, so every path that leaves the work puts the user's
// cursor back.
#pragma once
#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
