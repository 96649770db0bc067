// Small helpers about one window, shared by the command implementations:
// names, texts (read safely across processes), owning process, item lookup.
#pragma once

#include <windows.h>

#include <string>

namespace uid {

// How long a message sent to another process may take before we give up,
// so a hung program under test cannot hang the driver.
constexpr UINT kSendTimeoutMs = 5000;

std::string class_name(HWND hwnd);
// The window's text: WM_GETTEXT (sent with a timeout, works across processes and
// gives an edit control's current contents); if that fails, the text that
// the window manager holds (InternalGetWindowText).
std::string window_text(HWND hwnd);
std::wstring window_text_w(HWND hwnd);
// WM_GETTEXT only: throws CommandError if the window does not answer in time.
std::string window_text_strict(HWND hwnd);
// Sends with SendMessageTimeoutW; throws CommandError on timeout or failure.
LRESULT send_checked(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const char* what);

DWORD window_pid(HWND hwnd);
DWORD window_tid(HWND hwnd);
// Base name of the executable of a process, e.g. "setup.exe"; "" if unknown.
std::string process_exe(DWORD pid);

// Throws CommandError unless hwnd is an existing window.
HWND require_window(HWND hwnd);
// The top-level window that contains hwnd (hwnd itself if top-level).
HWND top_level(HWND hwnd);
bool is_self_or_descendant(HWND top, HWND h);

// Parses an item id argument: "self" or -1 for the window itself, else an
// integer control id (decimal or 0x hex). Looks the item up among the direct
// children first, then among all descendants (depth first). Throws if absent.
HWND resolve_item(HWND parent, const std::string& id_text);

int control_id(HWND hwnd);  // GetWindowLongPtr(GWLP_ID) as signed 32-bit

bool iequals(const std::string& a, const std::string& b);  // ASCII case-insensitive

}  // namespace uid
