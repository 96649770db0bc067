#include "app/setup_dlg.h"

#include <shlobj.h>

#include "framework/string_table.h"
#include "framework/app.h"
#include "framework/path.h"

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
    return TRUE;  // the focus goes to the first tab stop, Install
}

CFailure CSetupDlg::OnCommand(int id, int code, bool& handled) {
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        OnBrowse();
        handled = true;
    }
    return CFailure();
}

INT_PTR CSetupDlg::OnMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
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

void CSetupDlg::AdvanceProgress(int target) {
    for (int i = m_nProgress; i < target; ++i) {
        Sleep(10);
        m_progress.SetPos(i);
    }
    m_nProgress = target;
}
