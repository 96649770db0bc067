// The Install command: the whole install, in order, on the user-interface thread.
// Only the directory is checked up front, and nothing is rolled back once the install
// has begun; only the payload entries decide the outcome.
#include "app/setup_dlg.h"

#include <shellapi.h>

#include "app/install_dir.h"
#include "app/setup_app.h"
#include "framework/string_table.h"
#include "framework/message_box.h"
#include "framework/path.h"
#include "payload/catalogue.h"

namespace {

// A program that does not answer its close request within this time is left running.
const UINT kCloseWaitMs = 5000;

// Asks the first top-level window found by class or title to close, and waits until it
// has handled the request (or gave no sign of life for kCloseWaitMs).
void RequestClose(const char* windowClass, const char* title) {
    HWND window = FindWindowA(windowClass, title);
    if (!window) return;
    DWORD_PTR answer;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseWaitMs, &answer);
}

// Asks a question with Yes and No; true on Yes. No caption: the box bears the program's name.
bool AskYes(HWND owner, UINT textId, const char* caption = nullptr) {
    return ShowMessage(owner, LoadText(textId), MB_YESNO | MB_ICONQUESTION, caption) == IDYES;
}

// Starts an installed program and does not wait for it.
void StartInstalled(HWND owner, const CText& dir, UINT fileId, const char* parameters, int show) {
    ShellExecuteA(owner, nullptr, JoinPath(dir, LoadText(fileId)), parameters, nullptr, show);
}

void SetExitCode(int code) {
    if (CWinApp* app = AfxGetApp()) app->SetExitCode(code);
}

// The install runs once at a time: its button is disabled while it runs, and a press
// that reaches the dialog meanwhile (through a question box's message loop) does nothing.
// Both are undone on every way out, so a raised failure leaves Install ready again.
class CRunningInstall {
public:
    CRunningInstall(HWND dialog, bool& running)
        : m_hButton(GetDlgItem(dialog, IDOK)), m_hadFocus(GetFocus() == m_hButton), m_running(running) {
        m_running = true;
        EnableWindow(m_hButton, FALSE);
    }
    ~CRunningInstall() {
        EnableWindow(m_hButton, TRUE);
        if (m_hadFocus) SetFocus(m_hButton);  // disabling it took the focus away
        m_running = false;
    }
    CRunningInstall(const CRunningInstall&) = delete;
    CRunningInstall& operator=(const CRunningInstall&) = delete;

private:
    HWND m_hButton;
    bool m_hadFocus;
    bool& m_running;
};

}  // namespace

// A directory that cannot be installed into is named in a box, and the user corrects the
// text as typed: nothing has been written.
void CSetupDlg::RefuseInstallDir(UINT textId, const char* named) {
    ShowMessage(m_hWnd, FormatText(textId, named), MB_OK | MB_ICONEXCLAMATION, LoadText(IDS_CAPTION));
    ::SetFocus(GetDlgItem(IDC_INSTALL_DIR));
}

CFailure CSetupDlg::OnInstall() {
    if (m_bInstalling) return CFailure();
    if (!UpdateData(true)) return CFailure();
    CText dir, named;
    if (UINT problem = ChooseInstallDir(m_strInstallDir, &dir, &named)) {
        RefuseInstallDir(problem, named);
        return CFailure();
    }
    m_strInstallDir = dir;
    CRunningInstall running(m_hWnd, m_bInstalling);

    RETURN_IF_RAISED(CreateInstallDir(m_strInstallDir));
    CreateDirectoryA(JoinPath(m_strInstallDir, kHtmlViewFolder), nullptr);
    RequestClose(nullptr, "Tolvane");
    RequestClose("Mp3SondrelWndClass", nullptr);
    RequestClose("Mp3QuilloWndClass", nullptr);
    AdvanceProgress(10);

    // The bar reaches 20 % after the first entry, 50 % before the last, 60 % after it.
    int installed = 1;
    for (size_t i = 0; i < kPayloadCount; ++i) {
        if (i == kPayloadCount - 1) AdvanceProgress(50);
        int written = 0;
        RETURN_IF_RAISED(InstallPayloadFile(kPayloadCatalogue[i], &written));
        installed = installed && written;
        if (i == 0) AdvanceProgress(20);
    }
    AdvanceProgress(60);

    RunShellStep();
    AdvanceProgress(90);
    RunSettingsStep(installed);

    if (AskYes(m_hWnd, IDS_ASK_DEFAULT_PLAYER)) StartInstalled(m_hWnd, m_strInstallDir, IDS_FILE_PLAYER, " -reg", SW_HIDE);
    AdvanceProgress(100);

    CText caption = LoadText(IDS_CAPTION);
    if (installed) {
        RunNewsletterOffer();
        if (AskYes(m_hWnd, IDS_ASK_START_APP, caption))
            StartInstalled(m_hWnd, m_strInstallDir, IDS_FILE_MAIN_APP, nullptr, SW_SHOW);
        SetExitCode(kExitInstalled);
    } else {
        ShowMessage(m_hWnd, LoadText(IDS_INSTALL_FAILED), MB_OK | MB_ICONEXCLAMATION, caption);
        SetExitCode(kExitInstallFailed);
    }
    EndDialog(IDOK);
    return CFailure();
}
