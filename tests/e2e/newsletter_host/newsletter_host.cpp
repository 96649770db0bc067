// Shows the newsletter dialog the way the install does, for the end-to-end tests: an
// application whose main window is up runs CNewsletterDlg modally without a parent, and
// the process exits with the dialog's result (1 subscribed, 2 not).
//
// SONDREL_HOST_REFUSE_SESSION=CODE makes the first attempt to open an internet session
// fail with that error, as an exhausted system would: Wine's InternetOpenA cannot be made
// to fail otherwise. The host puts a jump at the entry of wininet's InternetOpenA and
// takes it away again once the attempt has failed.
#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>

#include "framework/app.h"
#include "framework/common_controls.h"
#include "framework/system_dll.h"
#include "framework/wnd.h"
#include "newsletter/newsletter_dlg.h"

namespace {

const char kMainTitle[] = "Newsletter test host";

BYTE* g_openEntry = nullptr;
BYTE g_savedEntry[5];
DWORD g_refusal = 0;

void WriteEntry(const BYTE* bytes) {
    DWORD old;
    VirtualProtect(g_openEntry, 5, PAGE_EXECUTE_READWRITE, &old);
    memcpy(g_openEntry, bytes, 5);
    VirtualProtect(g_openEntry, 5, old, &old);
    FlushInstructionCache(GetCurrentProcess(), g_openEntry, 5);
}

HINTERNET WINAPI RefuseSessionOnce(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) {
    WriteEntry(g_savedEntry);  // the next attempt reaches the real function
    SetLastError(g_refusal);
    return nullptr;
}

void RefuseFirstSession() {
    const char* code = getenv("SONDREL_HOST_REFUSE_SESSION");
    if (!code || !*code) return;
    g_refusal = strtoul(code, nullptr, 10);
    g_openEntry = reinterpret_cast<BYTE*>(sysdll::Find("wininet.dll", "InternetOpenA"));
    if (!g_openEntry) return;
    memcpy(g_savedEntry, g_openEntry, 5);
    BYTE jump[5] = {0xE9};
    LONG distance = LONG(reinterpret_cast<BYTE*>(&RefuseSessionOnce) - (g_openEntry + 5));
    memcpy(jump + 1, &distance, 4);
    WriteEntry(jump);
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
