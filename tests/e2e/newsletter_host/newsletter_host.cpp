// Shows the newsletter dialog the way the install does, for the end-to-end tests: an
// application whose main window is up runs CNewsletterDlg modally without a parent, and
// the process exits with the dialog's result (1 subscribed, 2 not).
//
// SONDREL_HOST_REFUSE_SESSION=CODE makes the first attempt to open an internet session
// fail with that error, as an exhausted system would: Wine's InternetOpenA cannot be made
// to fail otherwise. The host patches the entry of wininet's InternetOpenA and puts it
// back once the attempt has failed.
#include <windows.h>
#include <wininet.h>

#include <cstdlib>

#include "framework/app.h"
#include "framework/common_controls.h"
#include "framework/wnd.h"
#include "newsletter/newsletter_dlg.h"
#include "entry_patch.h"

namespace {

const char kMainTitle[] = "Newsletter test host";

EntryPatch* g_open = nullptr;
DWORD g_refusal = 0;

HINTERNET WINAPI RefuseSessionOnce(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) {
    g_open->Restore();  // the next attempt reaches the real function
    SetLastError(g_refusal);
    return nullptr;
}

void RefuseFirstSession() {
    const char* code = getenv("SONDREL_HOST_REFUSE_SESSION");
    if (!code || !*code) return;
    g_refusal = strtoul(code, nullptr, 10);
    g_open = new EntryPatch("wininet.dll", "InternetOpenA", EntryOf(RefuseSessionOnce));
}

class CHostApp : public CWinApp {
public:
    BOOL InitInstance() override {
        RegisterCommonControls();
        RefuseFirstSession();
        CWnd main;
        main.m_hWnd = CreateWindowExA(WS_EX_APPWINDOW, "Static", kMainTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      100, 100, 640, 400, nullptr, nullptr, m_hInstance, nullptr);
        m_pMainWnd = &main;
        CNewsletterDlg dlg;
        SetExitCode(static_cast<int>(dlg.DoModal()));
        m_pMainWnd = nullptr;
        DestroyWindow(main.m_hWnd);
        return FALSE;
    }
};

CHostApp theApp;

}  // namespace
