/* Stand-in for the main application, "mp3 sondrel.exe".
 *
 * It is not the product: it is a tiny program of our own that the setup program
 * installs in place of the real one, so that end-to-end tests can see it run.
 * One visible top-level window, class "Mp3SondrelWndClass", showing the install path
 * read from the settings file the setup program writes. */
#include <windows.h>

#define CLASS_NAME "Mp3SondrelWndClass"
#define TITLE      "[ mp3 - sondrel ] 4.3.0a (stand-in)"

static HWND add_label(HWND parent, int id, int y, const char *text)
{
    HWND h = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                             12, y, 390, 20, parent, (HMENU)(INT_PTR)id,
                             GetModuleHandleA(NULL), NULL);
    SendMessageA(h, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return h;
}

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        char path[MAX_PATH];
        char line[MAX_PATH + 32];
        GetPrivateProfileStringA("Setup", "InstallPath", "", path, sizeof path, "MP3 SONDREL.INI");
        add_label(hwnd, 100, 12, "Stand-in program installed by the setup program.");
        wsprintfA(line, "Install path: %s", path[0] ? path : "(not set)");
        add_label(hwnd, 101, 40, line);
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
