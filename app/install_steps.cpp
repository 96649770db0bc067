// The three steps that bring the shell, the settings file and the newsletter into the
// install, at their fixed points of the sequence. None of them changes the outcome.
#include "app/setup_dlg.h"
#include "newsletter/newsletter_dlg.h"
#include "shell/installed_apps.h"
#include "shell/settings.h"

// The previous version's shortcuts go whatever the check box; the new ones come only
// when it is ticked.
void CSetupDlg::RunShellStep() {
    RemoveOldShortcuts();
    if (m_bCreateShortcuts) CreateShortcuts();
}

// The settings are written on every install that gets this far, whatever the payload's
// outcome and the answer to the player question that follows. Windows lists the product
// once all its files are in place.
void CSetupDlg::RunSettingsStep(bool installed) {
    RecordInstallPath(m_strInstallDir);
    RecordPlayer();
    if (installed)
        RegisterInstalledProduct(m_strInstallDir, InstalledPayloadBytes(m_strInstallDir));
    else
        ForgetInstalledProduct(m_strInstallDir);
}

// Offers the newsletter while the settings file records no subscription, and records an
// acknowledged one so that it is not offered again.
void CSetupDlg::RunNewsletterOffer() {
    if (ReadMailingListFlag() != 0) return;
    CNewsletterDlg dlg;  // no parent: the setup dialog, the main window, owns it
    if (dlg.DoModal() == IDOK) RecordSubscription();
}
