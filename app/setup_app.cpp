#include "app/setup_app.h"

#include "app/setup_dlg.h"
#include "framework/common_controls.h"
#include "framework/instance_lock.h"

CSetupApp theApp;

namespace {

const char kInstanceName[] = "Sondrel.Mp3Sondrel.Setup";
// The copy that runs may be starting up: its dialog is given this long to appear.
const int kFindTries = 30;
const DWORD kFindPauseMs = 100;

// Puts the running copy's dialog, or the question it is asking, in front of the user.
void BringRunningSetupToFront() {
    HWND dialog = nullptr;
    for (int i = 0; i < kFindTries && !(dialog = FindWindowA("#32770", SETUP_CAPTION)); ++i)
        Sleep(kFindPauseMs);
    if (!dialog) return;
    if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(dialog));
}

}  // namespace

BOOL CSetupApp::InitInstance() {
    // One install at a time: two would share the scratch file and write beside each other.
    CInstanceLock lock(kInstanceName);
    if (!lock.Held()) {
        BringRunningSetupToFront();
        return FALSE;  // nothing installed, no message
    }
    RegisterCommonControls();  // without it the dialog cannot create its progress bar

    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;  // no message loop of our own: the program ends with the dialog
}
