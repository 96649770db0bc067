/* Stand-in for the uninstaller, "Uninstall.exe".
 *
 * It is not the product's uninstaller and removes nothing: it is a tiny program of our
 * own that the setup program installs in its place, so that end-to-end tests can see
 * it run. One visible top-level window. */
#include "standin_window.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd_line, int show)
{
    static const char *const lines[] = {"Stand-in for the uninstaller, installed by the setup program.",
                                        "It removes nothing."};
    (void)prev;
    (void)cmd_line;
    return standin_run(inst, "Mp3SondrelUninstallStandInClass", "[ mp3 - sondrel ] uninstall (stand-in)", lines, 2,
                       show);
}
