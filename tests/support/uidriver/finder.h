// Finding top-level windows: listing them, waiting for one to appear or go.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "protocol.h"

namespace uid {

struct TopWindow {
    HWND hwnd;
    DWORD pid;
    std::string exe, cls, title;
    HWND owner;
    bool enabled;
};

// Visible top-level windows, topmost first (EnumWindows order); hidden ones too on request.
std::vector<TopWindow> visible_top_windows(bool include_hidden = false);

Reply cmd_windows();
// Every top-level window, hidden ones included, with a visible flag as the last field.
Reply cmd_all_windows();
// cls / title: exact match, "*" for any (class names compare case-insensitively,
// as Windows does). exe: "" or "*" for any, else the process's exe base name.
Reply cmd_find(const std::string& cls, const std::string& title, long long timeout_ms, const std::string& exe);
Reply cmd_gone(HWND hwnd, long long timeout_ms);

}  // namespace uid
