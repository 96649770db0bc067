// The main setup dialog, and the object in whose context the whole install runs.
#pragma once
#include <windows.h>

#include "framework/dialog.h"
#include "framework/text.h"
#include "resources/resource.h"

struct ShortcutRow;

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(HWND parent = nullptr);

    // The folder under which the product's folder is proposed (no separator added).
    CText GetDefaultInstallDir();
    // Lets the user pick a folder, which then becomes the whole text of the edit.
    void OnBrowse();
    // Moves the progress bar one percent at a time toward `target`, 10 ms a step.
    void AdvanceProgress(int target);
    // The Install command.
    CFailure OnInstall();
    // Writes one payload entry under the install directory; *written is 1 when the target
    // holds the whole expanded file, else 0. A failure to write the scratch file is raised.
    CFailure InstallPayloadFile(const char* resourceName, UINT nameId, const char* subFolder, int* written);

    int m_nProgress = 0;           // percentage last passed to AdvanceProgress
    CText m_strInstallDir;         // edit IDC_INSTALL_DIR
    int m_bCreateShortcuts = 1;    // check box IDC_CREATE_SHORTCUTS
    CProgressCtrl m_progress;      // IDC_PROGRESS
    HICON m_hIcon = nullptr;       // shared resource handle: never destroyed

    // Makes one shortcut of the shortcut table; nothing is reported.
    void CreateShortcut(const ShortcutRow& row);
    // Makes the nine shortcuts, only when the shell-link service could be initialised
    // afresh on this thread.
    void CreateShortcuts();
    // Deletes the previous version's desktop link and program group. FALSE when the old
    // group was found and is still there afterwards.
    BOOL RemoveOldShortcuts();
    // The "MailingList" key of the settings file: 0 while the user has not subscribed.
    UINT ReadMailingListFlag();

    // The install's shell, settings and newsletter steps.
    void RunShellStep();
    void RunSettingsStep();
    void RunNewsletterOffer();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    CFailure OnOK() override { return OnInstall(); }
    CFailure OnCommand(int id, int code, bool& handled) override;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    bool m_bInstalling = false;  // OnInstall is running

    void PaintMinimised();
    // Installs catalogue entry `index` and ANDs its result into *installed.
    CFailure InstallEntry(size_t index, int* installed);
};
