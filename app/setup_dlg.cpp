#include "app/setup_dlg.h"

#include <shlobj.h>

#include "framework/string_table.h"
#include "framework/app.h"
#include "framework/path.h"
#include "framework/stretched_bitmap.h"

CSetupDlg::CSetupDlg(HWND parent) : CDialog(IDD_SETUP_DIALOG, parent) {
    m_strInstallDir = JoinPath(GetDefaultInstallDir(), "MP3 Sondrel");
    m_hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_INSTALL_DIR, m_strInstallDir);
    DDX_Check(pDX, IDC_CREATE_SHORTCUTS, m_bCreateShortcuts);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_progress.SetRange(0, 100);
    m_nProgress = 0;
    FitSidebar();
    return TRUE;  // the focus goes to the first tab stop, Install
}

CFailure CSetupDlg::OnCommand(int id, int code, bool& handled) {
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        OnBrowse();
        handled = true;
    }
    return CFailure();
}

namespace {
// Posted when the scale changed: the system has resized the controls by the time it is read.
const UINT kFitSidebar = WM_APP + 1;
}  // namespace

INT_PTR CSetupDlg::OnMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
    if (msg == WM_DPICHANGED) {
        PostMessageA(m_hWnd, kFitSidebar, 0, 0);  // the system's own resizing goes on
        return FALSE;
    }
    if (msg == kFitSidebar) {
        FitSidebar();
        handled = true;
        return TRUE;
    }
    if (msg == WM_DESTROY && m_hSidebar) {
        DeleteObject(m_hSidebar);  // the control never deletes a picture it was given
        m_hSidebar = nullptr;
    }
    if (msg == WM_PAINT && IsIconic(m_hWnd)) {
        PaintMinimised();
        handled = true;
        return TRUE;
    }
    if (msg == WM_QUERYDRAGICON) {
        handled = true;
        return reinterpret_cast<INT_PTR>(m_hIcon);
    }
    return FALSE;
}

void CSetupDlg::FitSidebar() {
    HWND sidebar = GetDlgItem(IDC_SIDEBAR);
    RECT area;
    if (!sidebar || !GetClientRect(sidebar, &area)) return;
    HBITMAP fitted = StretchedBitmap(IDB_SIDEBAR, area.right, area.bottom);
    if (!fitted) return;  // the template's picture stays, stretched by the control itself
    HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageA(sidebar, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fitted)));
    if (previous) DeleteObject(previous);  // the template's own, or the one fitted before
    m_hSidebar = fitted;
}

void CSetupDlg::PaintMinimised() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
}

void CSetupDlg::OnBrowse() {
    CText title = LoadText(IDS_BROWSE_TITLE);
    char displayName[MAX_PATH];
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen) return;
    char path[MAX_PATH];
    BOOL hasPath = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    if (hasPath) SetDlgItemTextA(m_hWnd, IDC_INSTALL_DIR, path);
}

// One percent every 10 ms on a schedule kept from the first step: the time the bar takes
// to draw itself is part of a step's 10 ms, not added to it, and a pause that ran long is
// made up by the next one. The bar never runs ahead of the schedule.
void CSetupDlg::AdvanceProgress(int target) {
    const DWORD start = GetTickCount();
    for (int i = m_nProgress, step = 1; i < target; ++i, ++step) {
        const DWORD due = static_cast<DWORD>(step) * kProgressStepMs;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed < due) Sleep(due - elapsed);
        m_progress.SetPos(i);
    }
    m_nProgress = target;
}
