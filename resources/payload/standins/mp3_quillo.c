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
#include "standin_window.h"

#define CLASS_NAME "Mp3QuilloWndClass"
#define TITLE      "[ mp3 - quillo ] (stand-in)"

typedef const char *(__stdcall *version_fn)(void);

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

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd_line, int show)
{
    const char *args = cmd_line ? cmd_line : "";
    char args_line[1100], decoder_line[300], cmdline_line[1100];
    const char *lines[3];
    (void)prev;

    /* A hidden start must not bring up an error box if a DLL is absent. */
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    lstrcpyA(args_line, "args: ");
    lstrcpynA(args_line + 6, args, (int)sizeof args_line - 6);
    decoder_text(decoder_line, (int)sizeof decoder_line);
    lstrcpyA(cmdline_line, "cmdline: ");
    lstrcpynA(cmdline_line + 9, GetCommandLineA(), (int)sizeof cmdline_line - 9);
    lines[0] = args_line;
    lines[1] = decoder_line;
    lines[2] = cmdline_line;
    return standin_run(inst, CLASS_NAME, has_reg_token(args) ? TITLE " -reg" : TITLE, lines, 3, show);
}
