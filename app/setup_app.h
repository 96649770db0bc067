// The setup program's application object.
#pragma once
#include "framework/app.h"

// The program's exit status.
enum ExitCode {
    kExitInstalled = 0,      // an install completed and succeeded
    kExitInstallFailed = 1,  // an install completed and reported its failure
    kExitNotInstalled = 2,   // cancelled, or ended without completing an install
};

class CSetupApp : public CWinApp {
public:
    CSetupApp() { SetExitCode(kExitNotInstalled); }
    // Shows the main setup dialog and ends the program once it closes. A copy started
    // while another runs brings that one's window to the front and ends at once.
    BOOL InitInstance() override;
};
