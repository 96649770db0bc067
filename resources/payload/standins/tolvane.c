/* Stand-in for the tray launcher, "Tolvane.exe".
 *
 * It is not the product's launcher: it is a tiny program of our own that the setup
 * program installs in its place, so that end-to-end tests can see it run.
 * One small visible top-level window titled exactly "Tolvane". */
#include "standin_window.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd_line, int show)
{
    static const char *const lines[] = {"Stand-in for the tray launcher, installed by the setup program."};
    (void)prev;
    (void)cmd_line;
    return standin_run(inst, "TolvaneStandInClass", "Tolvane", lines, 1, show);
}
