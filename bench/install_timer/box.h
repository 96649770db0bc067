// A dialog of the timed program seen from outside: when it is up, what it says, and the
// press of one of its buttons.
#pragma once

#include <windows.h>

#include <string>

// Waits until the dialog is up: made visible, and its thread back in its message loop,
// answering. The dialog's thread shows it the first time its queue runs empty, so a
// message sent while it was still hidden may be answered before the showing; only an
// answer to a message sent once it was visible tells that the showing is over. Each
// round blocks on the program's own answer, so this takes no time slices from it.
// Gives the time it was found up; fails for a dialog that closes or stays hidden.
double WaitUntilUp(HWND dialog);

std::wstring Caption(HWND dialog);
// The text of a message box (its static control 0xFFFF), or "" for another dialog.
std::wstring BoxText(HWND dialog);

// Posts a click to the button `id` of the dialog; fails when it has no such button.
void PressButton(HWND dialog, int id);
