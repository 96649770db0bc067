/* The one window every stand-in program shows: a class and title of its own, and lines
 * of text in static controls numbered 100, 101, ... so that tests can read them. */
#ifndef STANDIN_WINDOW_H
#define STANDIN_WINDOW_H
#include <windows.h>

/* Shows the window with `show` and runs it until it is closed (WM_CLOSE ends the
 * program with status 0); status 1 when it cannot be created. */
int standin_run(HINSTANCE inst, const char *class_name, const char *title, const char *const *lines, int count,
                int show);

#endif
