// The little of a window wrapper that the dialogs need.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CWnd {
public:
    virtual ~CWnd() = default;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }

    HWND m_hWnd = nullptr;
};

// A progress bar control bound to its window by the dialog's data exchange.
class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    // The bar is redrawn at once: no message loop runs while an install works.
    void SetPos(int pos) {
        SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos));
        ::UpdateWindow(m_hWnd);
    }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};
