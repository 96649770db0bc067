#include "framework/data_exchange.h"

void DDX_Text(CDataExchange* pDX, int id, CText& value) {
    HWND control = GetDlgItem(pDX->m_hDlg, id);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextA(control, value);
        return;
    }
    int length = GetWindowTextLengthA(control);
    CText text;
    char* buffer = text.GetBuffer(static_cast<size_t>(length) + 1);
    if (!buffer) {
        pDX->m_bFailed = true;
        return;
    }
    GetWindowTextA(control, buffer, length + 1);
    text.ReleaseBuffer();
    value = static_cast<CText&&>(text);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->m_bSaveAndValidate)
        value = IsDlgButtonChecked(pDX->m_hDlg, id) == BST_CHECKED ? 1 : 0;
    else
        CheckDlgButton(pDX->m_hDlg, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (!control.m_hWnd) control.m_hWnd = GetDlgItem(pDX->m_hDlg, id);
}
