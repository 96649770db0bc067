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
    NameUnlabelledControls();
    return TRUE;  // the focus goes to the first tab stop, Install
}

// A screen reader says a button's own text and a progress bar's window text, which the
// bar never shows. "..." says nothing of what it does, so its text is the folder
// browser's title and the dialog draws the three dots itself (DrawBrowseButton).
void CSetupDlg::NameUnlabelledControls() {
    static const UINT kNames[][2] = {{IDC_BROWSE, IDS_BROWSE_TITLE}, {IDC_PROGRESS, IDS_NAME_PROGRESS}};
    for (const UINT* name : kNames) ::SetWindowTextA(GetDlgItem(name[0]), LoadText(name[1]));
}

// Enter clicks the push button that has the focus; "..." is drawn by the dialog, so the
// system would give its Enter to Install: it browses here, as any push button would.
CFailure CSetupDlg::OnOK() {
    if (::GetFocus() != GetDlgItem(IDC_BROWSE)) return OnInstall();
    OnBrowse();
    return CFailure();
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

// "..." as the system draws a push button, in the system's colours, pressed while it is
// held down, with the focus rectangle while it has the focus and the user works by keys.
// Pressed, the frame moves and the dots stay: the dots are small enough for that.
void DrawBrowseButton(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(item.hDC, "...", 3, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        area.left += 2, area.top += 2, area.right -= 2, area.bottom -= 2;
        DrawFocusRect(item.hDC, &area);
    }
}

}  // namespace

INT_PTR CSetupDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    if (msg == WM_DRAWITEM && wp == IDC_BROWSE) {
        DrawBrowseButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        handled = true;
        return TRUE;
    }
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
    if (!fitted) return;  // the picture is decoration: without memory for it there is none
    HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageA(sidebar, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fitted)));
    if (previous) DeleteObject(previous);  // the one fitted before
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
    if (hasPath) ::SetWindowTextA(GetDlgItem(IDC_INSTALL_DIR), path);
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
