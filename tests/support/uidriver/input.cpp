#include "input.h"

#include <cstdlib>
#include <vector>

#include "winutil.h"

namespace uid {

namespace {

struct Key {
    WORD vk = 0;        // 0: a character with no key of its own (sent as Unicode)
    wchar_t ch = 0;     // the character the key stands for, if any
    bool shift = false, ctrl = false, alt = false;
    bool is_char = false;  // named by a single character
};

bool is_extended(WORD vk) {
    switch (vk) {
        case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
        case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
            return true;
        default:
            return false;
    }
}

std::string lower(const std::string& s) {
    std::string out;
    for (char c : s) out += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    return out;
}

Key char_key(wchar_t ch) {
    Key k;
    k.ch = ch;
    k.is_char = true;
    SHORT scan = VkKeyScanW(ch);
    if (scan != -1 && LOBYTE(scan) != 0xFF) {
        k.vk = LOBYTE(scan);
        k.shift = (HIBYTE(scan) & 1) != 0;
        // A character that needs Ctrl or Alt (AltGr) is better sent as Unicode.
        if (HIBYTE(scan) & 6) k.vk = 0, k.shift = false;
    }
    return k;
}

Key parse_key(const std::string& name) {
    std::string rest = name;
    bool shift = false, ctrl = false, alt = false;
    for (;;) {
        std::string l = lower(rest);
        if (l.size() > 6 && l.compare(0, 6, "shift+") == 0) shift = true, rest = rest.substr(6);
        else if (l.size() > 5 && l.compare(0, 5, "ctrl+") == 0) ctrl = true, rest = rest.substr(5);
        else if (l.size() > 4 && l.compare(0, 4, "alt+") == 0) alt = true, rest = rest.substr(4);
        else break;
    }
    std::wstring w = widen(rest);
    Key k;
    if (w.size() == 1) {
        k = char_key(w[0]);
    } else {
        static const struct { const char* name; WORD vk; wchar_t ch; } named[] = {
            {"enter", VK_RETURN, L'\r'}, {"return", VK_RETURN, L'\r'}, {"escape", VK_ESCAPE, 27},
            {"esc", VK_ESCAPE, 27},      {"tab", VK_TAB, L'\t'},       {"space", VK_SPACE, L' '},
            {"backspace", VK_BACK, 8},   {"delete", VK_DELETE, 0},     {"insert", VK_INSERT, 0},
            {"up", VK_UP, 0},            {"down", VK_DOWN, 0},         {"left", VK_LEFT, 0},
            {"right", VK_RIGHT, 0},      {"home", VK_HOME, 0},         {"end", VK_END, 0},
            {"pageup", VK_PRIOR, 0},     {"pagedown", VK_NEXT, 0},
        };
        std::string l = lower(rest);
        bool found = false;
        for (const auto& n : named)
            if (l == n.name) k.vk = n.vk, k.ch = n.ch, found = true;
        if (!found && l.size() >= 2 && l.size() <= 3 && l[0] == 'f') {
            int f = std::atoi(l.c_str() + 1);
            if (f >= 1 && f <= 12) k.vk = WORD(VK_F1 + f - 1), found = true;
        }
        if (!found)
            throw CommandError("unknown key name '" + name +
                               "': use Enter, Escape, Tab, Space, Backspace, Delete, Insert, Up, Down, Left, Right, "
                               "Home, End, PageUp, PageDown, F1..F12 or one character, optionally with Shift+, "
                               "Ctrl+, Alt+");
    }
    k.shift = k.shift || shift;
    k.ctrl = ctrl;
    k.alt = alt;
    return k;
}

INPUT vk_input(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (is_extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT unicode_input(wchar_t ch, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

void append_sendinput(std::vector<INPUT>& seq, const Key& k) {
    if (k.ctrl) seq.push_back(vk_input(VK_CONTROL, false));
    if (k.alt) seq.push_back(vk_input(VK_MENU, false));
    if (k.shift) seq.push_back(vk_input(VK_SHIFT, false));
    if (k.vk) {
        seq.push_back(vk_input(k.vk, false));
        seq.push_back(vk_input(k.vk, true));
    } else {
        seq.push_back(unicode_input(k.ch, false));
        seq.push_back(unicode_input(k.ch, true));
    }
    if (k.shift) seq.push_back(vk_input(VK_SHIFT, true));
    if (k.alt) seq.push_back(vk_input(VK_MENU, true));
    if (k.ctrl) seq.push_back(vk_input(VK_CONTROL, true));
}

void send_inputs(std::vector<INPUT>& seq) {
    if (seq.empty()) return;
    UINT sent = SendInput((UINT)seq.size(), seq.data(), sizeof(INPUT));
    if (sent != seq.size()) throw CommandError("SendInput sent " + dec(sent) + " of " + dec(seq.size()) + " events");
}

LPARAM key_lparam(WORD vk, bool up, bool alt) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LPARAM lp = 1 | (LPARAM(scan & 0xFF) << 16);
    if (is_extended(vk)) lp |= LPARAM(1) << 24;
    if (alt) lp |= LPARAM(1) << 29;
    if (up) lp |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    return lp;
}

// The fallback: messages posted to the focus window, read by the program's own
// message loop (so a dialog's IsDialogMessage sees them). A key with a
// character of its own is posted as WM_CHAR only; other keys as key down/up,
// from which the program's TranslateMessage makes any WM_CHAR / WM_SYSCHAR.
// Posted keys cannot carry the Shift / Ctrl state (GetKeyState in the program
// does not see them), so Shift+Tab is posted as what IsDialogMessage makes of
// it, WM_NEXTDLGCTL(previous) to the top-level dialog.
void post_key(HWND target, HWND top, const Key& k) {
    if (k.is_char && !k.ctrl && !k.alt) {
        PostMessageW(target, WM_CHAR, k.ch, 1 | (LPARAM(MapVirtualKeyW(k.vk, MAPVK_VK_TO_VSC) & 0xFF) << 16));
        return;
    }
    if (k.vk == VK_TAB && k.shift && !k.ctrl && !k.alt) {
        PostMessageW(top, WM_NEXTDLGCTL, 1, 0);
        return;
    }
    WORD vk = k.vk ? k.vk : WORD(k.ch >= L'a' && k.ch <= L'z' ? k.ch - 32 : k.ch);
    UINT down = k.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = k.alt ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(target, down, vk, key_lparam(vk, false, k.alt));
    PostMessageW(target, up, vk, key_lparam(vk, true, k.alt));
}

// UIDRIVER_INPUT in the environment: "post" always posts key messages,
// "sendinput" always uses SendInput, anything else (default "auto") chooses.
enum class InputMode { Auto, Post, SendInput };

InputMode input_mode() {
    wchar_t buf[32];
    DWORD n = GetEnvironmentVariableW(L"UIDRIVER_INPUT", buf, 32);
    if (n == 0 || n >= 32) return InputMode::Auto;
    std::wstring v(buf, n);
    if (v == L"post") return InputMode::Post;
    if (v == L"sendinput") return InputMode::SendInput;
    return InputMode::Auto;
}

GUITHREADINFO thread_info(HWND hwnd) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    GetGUIThreadInfo(window_tid(hwnd), &gti);
    return gti;
}

// Brings hwnd's top-level window to the foreground and waits (up to ~500 ms)
// until the system's foreground window is it and the keyboard focus of its
// thread lies within it: then SendInput reaches it. Otherwise keys are posted
// to the thread's focus window (or the top-level window if none). Returns the
// focus window; *use_sendinput tells which way to go.
HWND prepare_keyboard(HWND top, bool* use_sendinput) {
    InputMode mode = input_mode();
    GUITHREADINFO gti{};
    if (mode != InputMode::Post) {
        SetForegroundWindow(top);
        for (int i = 0; i < 25; ++i) {
            gti = thread_info(top);
            if (GetForegroundWindow() == top && is_self_or_descendant(top, gti.hwndFocus)) break;
            Sleep(20);
        }
    }
    gti = thread_info(top);
    bool ready = GetForegroundWindow() == top && is_self_or_descendant(top, gti.hwndFocus);
    *use_sendinput = mode == InputMode::SendInput || (mode == InputMode::Auto && ready);
    return gti.hwndFocus ? gti.hwndFocus : top;
}

}  // namespace

Reply cmd_click(HWND hwnd, const std::string& id) {
    HWND item = resolve_item(hwnd, id);
    if (!PostMessageW(item, BM_CLICK, 0, 0)) throw CommandError("PostMessage(BM_CLICK) failed");
    return Reply();
}

Reply cmd_mouseclick(HWND hwnd, const std::string& id) {
    HWND item = resolve_item(hwnd, id);
    HWND top = top_level(item);
    SetForegroundWindow(top);
    Sleep(100);
    RECT rc{};
    GetWindowRect(item, &rc);
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (x < 0 || y < 0 || x >= w || y >= h) throw CommandError("centre of the item is off screen");
    SetCursorPos(x, y);
    std::vector<INPUT> seq(3);
    for (INPUT& in : seq) in.type = INPUT_MOUSE;
    // Normalised so that the server's (n * width) >> 16 gives back x exactly.
    seq[0].mi.dx = LONG((LONGLONG(x) * 65536 + w - 1) / w);
    seq[0].mi.dy = LONG((LONGLONG(y) * 65536 + h - 1) / h);
    seq[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    seq[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    seq[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send_inputs(seq);
    Sleep(50);
    return Reply().add(dec(x)).add(dec(y));
}

// One key press, through SendInput or posted to the focus window.
static void deliver_key(const Key& k, bool use_sendinput, HWND target, HWND top) {
    if (use_sendinput) {
        std::vector<INPUT> seq;
        append_sendinput(seq, k);
        send_inputs(seq);
    } else {
        post_key(target, top, k);
    }
}

Reply cmd_key(HWND hwnd, const std::string& name) {
    require_window(hwnd);
    Key k = parse_key(name);
    HWND top = top_level(hwnd);
    bool use_sendinput = false;
    HWND target = prepare_keyboard(top, &use_sendinput);
    deliver_key(k, use_sendinput, target, top);
    Sleep(50);
    return Reply().add(use_sendinput ? "sendinput" : "posted");
}

Reply cmd_type(HWND hwnd, const std::string& text) {
    require_window(hwnd);
    std::wstring w = widen(text);
    HWND top = top_level(hwnd);
    bool use_sendinput = false;
    HWND target = prepare_keyboard(top, &use_sendinput);
    for (size_t i = 0; i < w.size(); ++i) {
        wchar_t ch = w[i];
        Key k;
        if (ch == L'\r' || ch == L'\n') {
            if (ch == L'\r' && i + 1 < w.size() && w[i + 1] == L'\n') ++i;
            k.vk = VK_RETURN, k.ch = L'\r';
        } else if (ch == L'\t') {
            k.vk = VK_TAB, k.ch = L'\t';
        } else {
            k.ch = ch, k.is_char = true;  // vk 0: sent as a Unicode character
        }
        deliver_key(k, use_sendinput, target, top);
    }
    Sleep(50);
    return Reply().add(use_sendinput ? "sendinput" : "posted");
}

Reply cmd_close(HWND hwnd) {
    HWND top = top_level(require_window(hwnd));
    if (!PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0)) throw CommandError("PostMessage(WM_SYSCOMMAND) failed");
    return Reply();
}

}  // namespace uid
