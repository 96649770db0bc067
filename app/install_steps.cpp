// The three steps that bring the shell, the settings file and the newsletter into the
// install, at their fixed points of the sequence. None of them changes the outcome.
#include "app/setup_dlg.h"
#include "newsletter/newsletter_dlg.h"
#include "shell/settings.h"

// The previous version's shortcuts go whatever the check box; the new ones come only
// when it is ticked.
void CSetupDlg::RunShellStep() {
    RemoveOldShortcuts();
    if (m_bCreateShortcuts) CreateShortcuts();
}

// Written on every install that gets this far, whatever the payload's outcome and the
// answer to the player question that follows.
void CSetupDlg::RunSettingsStep() {
    WriteSetupSetting("InstallPath", m_strInstallDir);
    WriteSetupSetting("Player", "1");
}

// Offers the newsletter while the settings file records no subscription, and records an
// acknowledged one so that it is not offered again.
void CSetupDlg::RunNewsletterOffer() {
    if (ReadMailingListFlag() != 0) return;
    CNewsletterDlg dlg;  // no parent: the setup dialog, the main window, owns it
    if (dlg.DoModal() == IDOK) WriteSetupSetting(kMailingListKey, "1");
}
