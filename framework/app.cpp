#include "framework/app.h"

#include "framework/system_dll.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() { g_app = nullptr; }

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleA(nullptr);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    sysdll::RestrictSearchPath();
    CWinApp* app = AfxGetApp();
    if (!app) return 1;  // built without an application object: nothing could run
    app->m_hInstance = instance;
    if (app->InitInstance()) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return app->GetExitCode();
}
