// The setup program's application object.
#pragma once
#include "framework/app.h"

class CSetupApp : public CWinApp {
public:
    // Shows the main setup dialog and ends the program once it closes. A copy started
    // while another runs brings that one's window to the front and ends at once.
    BOOL InitInstance() override;
};
