// The three steps that bring the shell, the settings file and the newsletter into the
// install, at their fixed points of the sequence.
#include "app/setup_dlg.h"

// Removes the previous version's shortcuts and makes the new ones. The shell integration
// is not part of the program yet: this step does nothing until it lands.
void CSetupDlg::RunShellStep() {}

// Records the install path and the player flag. The settings file is not part of the
// program yet: this step does nothing until it lands.
void CSetupDlg::RunSettingsStep() {}

// Offers the newsletter once. The newsletter is not part of the program yet: this step
// does nothing until it lands.
void CSetupDlg::RunNewsletterOffer() {}
