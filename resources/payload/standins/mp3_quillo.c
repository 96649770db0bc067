/* Stand-in for the player, "mp3 quillo.exe".
 *
 * It is not the product's player: it is a tiny program of our own that the setup
 * program installs in its place, so that end-to-end tests can see how it was started.
 *  - The window title ends in " -reg" when the arguments hold the token -reg.
 *  - Control 100 reads "args: " followed by lpCmdLine, exactly as WinMain got it.
 *  - Control 101 reads "decoder: <version>" from the xaudio.dll in the program's OWN
 *    folder, or "decoder: missing"; no other folder is ever searched.
 *  - Control 102 reads "cmdline: " followed by GetCommandLineA(), for diagnosis.
 * The window is shown with the nCmdShow it was given, so a hidden start stays hidden
 * (the window still exists for FindWindow / GetWindowText). */
#include <windows.h>

#define CLASS_NAME "Mp3QuilloWndClass"
#define TITLE      "[ mp3 - quillo ] (stand-in)"

typedef const char *(__stdcall *version_fn)(void);

static const char *g_args = "";

/* Whether the argument text holds "-reg" as a blank-separated token (any case). */
static BOOL has_reg_token(const char *s)
{
    while (*s) {
        const char *start;
        while (*s == ' ' || *s == '\t')
            s++;
        start = s;
        while (*s && *s != ' ' && *s != '\t')
            s++;
        if (s - start == 4 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, start, 4, "-reg", 4)
                                  == CSTR_EQUAL)
            return TRUE;
    }
    return FALSE;
}

/* "decoder: <version>" from the xaudio.dll beside this program, else "decoder: missing". */
static void decoder_text(char *out, int out_size)
{
    char path[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    char *slash = NULL;
    char *p;
    HMODULE lib;

    lstrcpynA(out, "decoder: missing", out_size);
    if (n == 0 || n >= MAX_PATH)
        return;
    for (p = path; *p; p++)
        if (*p == '\\' || *p == '/')
            slash = p;
    if (!slash)
        return;
    lstrcpyA(slash + 1, "xaudio.dll");

    /* A full path: the loader looks at that file and nowhere else. */
    lib = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!lib)
        return;
    {
        version_fn fn = (version_fn)(void (*)(void))GetProcAddress(lib, "XaudioDecoderVersion");
        const char *v = fn ? fn() : NULL;
        if (v) {
            lstrcpynA(out, "decoder: ", out_size);
            if (out_size > 9)
                lstrcpynA(out + 9, v, out_size - 9);
        }
    }
    FreeLibrary(lib);
}

static void add_label(HWND parent, int id, int y, const char *text)
{
    HWND h = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                             12, y, 390, 20, parent, (HMENU)(INT_PTR)id,
                             GetModuleHandleA(NULL), NULL);
    SendMessageA(h, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
}

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        char line[1100];
        lstrcpyA(line, "args: ");
        lstrcpynA(line + 6, g_args, (int)sizeof line - 6);
        add_label(hwnd, 100, 8, line);
        decoder_text(line, (int)sizeof line);
        add_label(hwnd, 101, 32, line);
        lstrcpyA(line, "cmdline: ");
        lstrcpynA(line + 9, GetCommandLineA(), (int)sizeof line - 9);
        add_label(hwnd, 102, 56, line);
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

    /* A hidden start must not bring up an error box if a DLL is absent. */
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    g_args = cmd_line ? cmd_line : "";

    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = wnd_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = CLASS_NAME;
    if (!RegisterClassA(&wc))
        return 1;

    hwnd = CreateWindowExA(0, CLASS_NAME, has_reg_token(g_args) ? TITLE " -reg" : TITLE,
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
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
