// Dialog data exchange: copies fields into controls when a dialog opens and
// controls into fields when it is accepted.
#pragma once
#include <windows.h>

#include "framework/text.h"
#include "framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate) : m_hDlg(dialog), m_bSaveAndValidate(saveAndValidate) {}

    HWND m_hDlg;
    bool m_bSaveAndValidate;  // true: controls to fields
    bool m_bFailed = false;   // a control could not be read (resources exhausted)
};

void DDX_Text(CDataExchange* pDX, int id, CText& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
