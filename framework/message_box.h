// Message boxes owned by a window. Without a caption of its own a box carries the
// program's name, as the framework's boxes do.
#pragma once
#include <windows.h>

int ShowMessage(HWND owner, const char* text, UINT style, const char* caption = nullptr);
