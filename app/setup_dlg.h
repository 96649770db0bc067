// The main setup dialog, and the object in whose context the whole install runs: it
// holds the controls and the fields the install reads, moves the progress bar and keeps
// the order of the steps; each step is a function of payload/, shell/ or newsletter/
// that is handed this dialog's window and install directory.
#pragma once
#include <windows.h>

#include "framework/dialog.h"
#include "framework/text.h"
#include "payload/install_payload_file.h"
#include "resources/resource.h"
#include "shell/old_shortcuts.h"
#include "shell/settings.h"
#include "shell/shortcuts.h"

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(HWND parent = nullptr);

    // The folder under which the product's folder is proposed (no separator added).
    CText GetDefaultInstallDir();
    // Lets the user pick a folder, which then becomes the whole text of the edit.
    void OnBrowse();
    // Moves the progress bar one percent at a time toward `target`, 10 ms a step.
    static const DWORD kProgressStepMs = 10;
    void AdvanceProgress(int target);
    // The Install command.
    CFailure OnInstall();
    // Writes one payload entry under the install directory (payload/install_payload_file.h).
    CFailure InstallPayloadFile(const PayloadEntry& entry, int* written) {
        return ::InstallPayloadFile(m_hWnd, m_strInstallDir, entry, written);
    }

    int m_nProgress = 0;           // percentage last passed to AdvanceProgress
    CText m_strInstallDir;         // edit IDC_INSTALL_DIR
    int m_bCreateShortcuts = 1;    // check box IDC_CREATE_SHORTCUTS
    CProgressCtrl m_progress;      // IDC_PROGRESS
    HICON m_hIcon = nullptr;       // shared resource handle: never destroyed
    HBITMAP m_hSidebar = nullptr;  // IDC_SIDEBAR's picture at the control's size: ours to delete

    // The shell and settings operations of the install, on this dialog's window and
    // install directory (shell/shortcuts.h, shell/old_shortcuts.h, shell/settings.h).
    void CreateShortcut(const ShortcutRow& row) { ::CreateShortcut(m_hWnd, m_strInstallDir, kHtmlViewFolder, row); }
    void CreateShortcuts() { ::CreateShortcuts(m_hWnd, m_strInstallDir, kHtmlViewFolder); }
    BOOL RemoveOldShortcuts() { return ::RemoveOldShortcuts() ? TRUE : FALSE; }
    UINT ReadMailingListFlag() { return ::ReadMailingListFlag(); }

    // The install's shell, settings and newsletter steps.
    void RunShellStep();
    void RunSettingsStep(bool installed);
    void RunNewsletterOffer();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    CFailure OnOK() override;
    CFailure OnCommand(int id, int code, bool& handled) override;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    bool m_bInstalling = false;  // OnInstall is running

    void RefuseInstallDir(UINT textId, const char* named);
    // Gives the controls without a label the names a screen reader says for them.
    void NameUnlabelledControls();
    void PaintMinimised();
    // Draws the sidebar picture anew at its control's size, after the dialog opened and
    // whenever the display scale changed.
    void FitSidebar();
};
