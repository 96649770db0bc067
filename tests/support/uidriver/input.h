// Input to the program under test: button clicks, real mouse clicks, keys,
// typed text and the title bar's close box.
#pragma once

#include <windows.h>

#include <string>

#include "protocol.h"

namespace uid {

Reply cmd_click(HWND hwnd, const std::string& id);
Reply cmd_mouseclick(HWND hwnd, const std::string& id);
// name: Enter, Escape, Tab, Space, Backspace, Delete, Insert, Up, Down, Left,
// Right, Home, End, PageUp, PageDown, F1..F12, or a single character; with
// optional "Shift+", "Ctrl+", "Alt+" prefixes. Names are case-insensitive.
// Replies OK<TAB>sendinput or OK<TAB>posted: how the key was delivered.
Reply cmd_key(HWND hwnd, const std::string& name);
Reply cmd_type(HWND hwnd, const std::string& text);
Reply cmd_close(HWND hwnd);

}  // namespace uid
