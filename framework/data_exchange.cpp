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

// The button's own messages: the dialog helpers would add two entries to the imports.
void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND box = GetDlgItem(pDX->m_hDlg, id);
    if (pDX->m_bSaveAndValidate)
        value = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        SendMessageA(box, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (!control.m_hWnd) control.m_hWnd = GetDlgItem(pDX->m_hDlg, id);
}
