#include "app/setup_app.h"

#include "app/setup_dlg.h"
#include "framework/common_controls.h"

CSetupApp theApp;

BOOL CSetupApp::InitInstance() {
    RegisterCommonControls();  // without it the dialog cannot create its progress bar

    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;  // no message loop of our own: the program ends with the dialog
}
