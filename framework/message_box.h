// Message boxes owned by a window. Without a caption of its own a box carries the
// program's name, as the framework's boxes do. Only input given while the box is on
// the screen answers it: what was typed before is dropped.
#pragma once
#include <windows.h>

int ShowMessage(HWND owner, const char* text, UINT style, const char* caption = nullptr);
