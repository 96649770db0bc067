#include "standin_window.h"

struct standin_text {
    const char *const *lines;
    int count;
};

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        const struct standin_text *text = (const struct standin_text *)((CREATESTRUCTA *)lp)->lpCreateParams;
        int i;
        for (i = 0; i < text->count; i++) {
            HWND label = CreateWindowExA(0, "STATIC", text->lines[i], WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                         12, 8 + 24 * i, 390, 20, hwnd, (HMENU)(INT_PTR)(100 + i),
                                         GetModuleHandleA(NULL), NULL);
            SendMessageA(label, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
        }
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

int standin_run(HINSTANCE inst, const char *class_name, const char *title, const char *const *lines, int count,
                int show)
{
    struct standin_text text;
    WNDCLASSA wc;
    HWND hwnd;
    MSG msg;

    text.lines = lines;
    text.count = count;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = wnd_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = class_name;
    if (!RegisterClassA(&wc))
        return 1;
    hwnd = CreateWindowExA(0, class_name, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, CW_USEDEFAULT, 420, 140, NULL, NULL, inst, &text);
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
