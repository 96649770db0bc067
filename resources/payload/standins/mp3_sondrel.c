/* Stand-in for the main application, "mp3 sondrel.exe".
 *
 * It is not the product's application: it is a tiny program of our own that the setup
 * program installs in its place, so that end-to-end tests can see it run. Its window has
 * the application's class, "Mp3SondrelWndClass", and shows the install path that it
 * reads from the settings file, as the application does to find its folder. */
#include "standin_window.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd_line, int show)
{
    char path[MAX_PATH];
    char install_line[MAX_PATH + 32];
    const char *lines[2];
    (void)prev;
    (void)cmd_line;

    GetPrivateProfileStringA("Setup", "InstallPath", "", path, sizeof path, "MP3 SONDREL.INI");
    wsprintfA(install_line, "Install path: %s", path[0] ? path : "(not set)");
    lines[0] = "Stand-in program installed by the setup program.";
    lines[1] = install_line;
    return standin_run(inst, "Mp3SondrelWndClass", "[ mp3 - sondrel ] 4.3.0a (stand-in)", lines, 2, show);
}
