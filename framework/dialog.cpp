#include "framework/dialog.h"

#include <string.h>

#include "framework/app.h"
#include "framework/busy.h"
#include "framework/message_box.h"

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_hParent(parent) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_hParent;
    CWinApp* app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd != this && app->m_pMainWnd) owner = app->m_pMainWnd->m_hWnd;
    DiscardPendingInput();  // what was typed before the dialog appeared is not for it
    INT_PTR result = DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;  // the system puts the focus on the first tab stop
}

CFailure CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
    return CFailure();
}

CFailure CDialog::OnCommand(int, int, bool&) { return CFailure(); }

INT_PTR CDialog::OnMessage(UINT, WPARAM, LPARAM, bool&) { return FALSE; }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lp);
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
        self->m_hWnd = hwnd;
    }
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    return self ? self->Dispatch(msg, wp, lp) : FALSE;
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        RECT before;
        GetWindowRect(m_hWnd, &before);
        BOOL result = OnInitDialog();
        RECT after;
        GetWindowRect(m_hWnd, &after);
        if (memcmp(&before, &after, sizeof before) == 0) CenterOverOwner();  // unless the dialog placed itself
        return result;
    }
    case WM_COMMAND:
        RunCommand(LOWORD(wp), HIWORD(wp));
        return TRUE;
    default: {
        bool handled = false;
        INT_PTR result = OnMessage(msg, wp, lp, handled);
        return handled ? result : FALSE;
    }
    }
}

void CDialog::RunCommand(int id, int code) {
    CFailure failure;
    if (id == IDOK && code <= 1) {
        failure = OnOK();
    } else if (id == IDCANCEL && code <= 1) {
        OnCancel();
    } else {
        bool handled = false;
        failure = OnCommand(id, code, handled);
    }
    if (failure.IsRaised()) ReportFailure(failure);
}

void CDialog::ReportFailure(const CFailure& failure) {
    ShowMessage(m_hWnd, failure.Message(), MB_OK | MB_ICONSTOP);
}

// A dialog whose template gives no position of its own opens centred over its owner,
// or over the screen's work area when it has none, and never beyond that work area: a
// dialog larger than its owner (at a large display scale, say) keeps its caption and
// edges on the screen.
void CDialog::CenterOverOwner() {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info)) return;
    const RECT& work = info.rcWork;
    RECT area = work;
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    if (x > work.right - width) x = work.right - width;
    if (x < work.left) x = work.left;
    if (y > work.bottom - height) y = work.bottom - height;
    if (y < work.top) y = work.top;  // the caption above all
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
