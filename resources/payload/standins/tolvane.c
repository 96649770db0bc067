/* Stand-in for the tray launcher, "Tolvane.exe".
 *
 * It is not the product's launcher: it is a tiny program of our own that the setup
 * program installs in its place, so that end-to-end tests can see it run.
 * One small visible top-level window titled exactly "Tolvane". */
#include <windows.h>

#define CLASS_NAME "TolvaneStandInClass"
#define TITLE      "Tolvane"

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        HWND h = CreateWindowExA(0, "STATIC",
                                 "Stand-in for the tray launcher, installed by the setup program.",
                                 WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 12, 12, 390, 40,
                                 hwnd, (HMENU)100, GetModuleHandleA(NULL), NULL);
        SendMessageA(h, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd_line, int show)
{
    WNDCLASSA wc;
    HWND hwnd;
    MSG msg;
    (void)prev;
    (void)cmd_line;

    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = wnd_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = CLASS_NAME;
    if (!RegisterClassA(&wc))
        return 1;

    hwnd = CreateWindowExA(0, CLASS_NAME, TITLE, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, CW_USEDEFAULT, 420, 140, NULL, NULL, inst, NULL);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
