// The application object: one per program, created by static initialisation.
// WinMain (framework/app.cpp) calls InitInstance and ends the process with the
// exit code the application set.
#pragma once
#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();

    // Called once at start-up. Returning FALSE ends the program without a message loop.
    virtual BOOL InitInstance() = 0;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    void SetExitCode(int code) { m_nExitCode = code; }
    int GetExitCode() const { return m_nExitCode; }

protected:
    // Not virtual: nothing deletes an application through this class.
    ~CWinApp();

private:
    int m_nExitCode = 0;  // until the application sets its own
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
