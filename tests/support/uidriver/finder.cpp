#include "finder.h"

#include "winutil.h"

namespace uid {

static BOOL CALLBACK collect(HWND hwnd, LPARAM lp) {
    if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

static BOOL CALLBACK collect_all(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<TopWindow> visible_top_windows(bool include_hidden) {
    std::vector<HWND> handles;
    EnumWindows(include_hidden ? collect_all : collect, (LPARAM)&handles);
    std::vector<TopWindow> out;
    for (HWND h : handles) {
        if (!IsWindow(h)) continue;
        TopWindow w;
        w.hwnd = h;
        w.pid = window_pid(h);
        w.exe = process_exe(w.pid);
        w.cls = class_name(h);
        wchar_t buf[1024];
        // Top-level titles are held by the window manager: no message is sent,
        // so listing never blocks on a busy program.
        int n = InternalGetWindowText(h, buf, 1024);
        w.title = n > 0 ? narrow(std::wstring(buf, n)) : std::string();
        w.owner = GetWindow(h, GW_OWNER);
        w.enabled = IsWindowEnabled(h) != FALSE;
        out.push_back(w);
    }
    return out;
}

Reply cmd_all_windows() {
    Reply r;
    r.is_list = true;
    for (const TopWindow& w : visible_top_windows(true))
        r.rows.push_back({hex_hwnd(w.hwnd), dec(w.pid), w.exe, w.cls, w.title, hex_hwnd(w.owner),
                          w.enabled ? "1" : "0", IsWindowVisible(w.hwnd) ? "1" : "0"});
    return r;
}

Reply cmd_windows() {
    Reply r;
    r.is_list = true;
    for (const TopWindow& w : visible_top_windows())
        r.rows.push_back({hex_hwnd(w.hwnd), dec(w.pid), w.exe, w.cls, w.title, hex_hwnd(w.owner), w.enabled ? "1" : "0"});
    return r;
}

static bool matches(const TopWindow& w, const std::string& cls, const std::string& title, const std::string& exe) {
    if (cls != "*" && !iequals(w.cls, cls)) return false;
    if (title != "*" && w.title != title) return false;
    if (!exe.empty() && exe != "*" && !iequals(w.exe, exe)) return false;
    return true;
}

Reply cmd_find(const std::string& cls, const std::string& title, long long timeout_ms, const std::string& exe) {
    ULONGLONG deadline = GetTickCount64() + (timeout_ms > 0 ? (ULONGLONG)timeout_ms : 0);
    for (;;) {
        std::vector<TopWindow> wins = visible_top_windows();
        for (const TopWindow& w : wins)
            if (matches(w, cls, title, exe)) return Reply().add(hex_hwnd(w.hwnd));
        if (GetTickCount64() >= deadline) {
            std::string msg = "timeout after " + dec(timeout_ms) + " ms waiting for a visible window class='" + cls +
                              "' title='" + title + "'";
            if (!exe.empty() && exe != "*") msg += " exe='" + exe + "'";
            msg += "; visible top-level windows:";
            if (wins.empty()) msg += " none";
            for (const TopWindow& w : wins)
                msg += " [" + hex_hwnd(w.hwnd) + " " + w.exe + " class='" + w.cls + "' title='" + w.title + "']";
            throw CommandError(msg);
        }
        Sleep(50);
    }
}

Reply cmd_gone(HWND hwnd, long long timeout_ms) {
    ULONGLONG deadline = GetTickCount64() + (timeout_ms > 0 ? (ULONGLONG)timeout_ms : 0);
    for (;;) {
        if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return Reply();
        if (GetTickCount64() >= deadline)
            throw CommandError("timeout after " + dec(timeout_ms) + " ms: window " + hex_hwnd(hwnd) + " class='" +
                               class_name(hwnd) + "' title='" + window_text(hwnd) + "' is still visible");
        Sleep(50);
    }
}

}  // namespace uid
