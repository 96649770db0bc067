#include "winutil.h"

#include <tlhelp32.h>

#include <vector>

#include "protocol.h"

namespace uid {

std::string class_name(HWND hwnd) {
    wchar_t buf[256];
    int n = GetClassNameW(hwnd, buf, 256);
    return n > 0 ? narrow(std::wstring(buf, n)) : std::string();
}

static bool get_text_by_message(HWND hwnd, std::wstring* out) {
    DWORD_PTR len = 0;
    if (SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &len)) {
        std::vector<wchar_t> buf(len + 64);
        DWORD_PTR got = 0;
        if (SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), (LPARAM)buf.data(), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                kSendTimeoutMs, &got)) {
            if (got > buf.size() - 1) got = buf.size() - 1;
            *out = std::wstring(buf.data(), got);
            return true;
        }
    }
    return false;
}

std::wstring window_text_w(HWND hwnd) {
    std::wstring text;
    if (get_text_by_message(hwnd, &text)) return text;
    wchar_t buf[1024];
    int n = InternalGetWindowText(hwnd, buf, 1024);
    return n > 0 ? std::wstring(buf, n) : std::wstring();
}

std::string window_text(HWND hwnd) { return narrow(window_text_w(hwnd)); }

std::string window_text_strict(HWND hwnd) {
    std::wstring text;
    if (!get_text_by_message(hwnd, &text))
        throw CommandError("WM_GETTEXT to " + hex_hwnd(hwnd) + " failed or timed out (is the program busy or hung?)");
    return narrow(text);
}

LRESULT send_checked(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const char* what) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &result))
        throw CommandError(std::string(what) + " to " + hex_hwnd(hwnd) + " failed or timed out (error " +
                           dec(GetLastError()) + ")");
    return (LRESULT)result;
}

DWORD window_pid(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

DWORD window_tid(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); }

static std::string base_name(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::string process_exe(DWORD pid) {
    if (HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        wchar_t buf[MAX_PATH * 2];
        DWORD size = MAX_PATH * 2;
        BOOL ok = QueryFullProcessImageNameW(h, 0, buf, &size);
        CloseHandle(h);
        if (ok) return base_name(std::wstring(buf, size));
    }
    // Fallback: the process snapshot names every process.
    std::string name;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32W pe;
        pe.dwSize = sizeof pe;
        for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
            if (pe.th32ProcessID == pid) {
                name = base_name(pe.szExeFile);
                break;
            }
        }
        CloseHandle(snap);
    }
    return name;
}

HWND require_window(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) throw CommandError("no such window " + hex_hwnd(hwnd));
    return hwnd;
}

HWND top_level(HWND hwnd) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root ? root : hwnd;
}

bool is_self_or_descendant(HWND top, HWND h) { return h && (h == top || IsChild(top, h)); }

int control_id(HWND hwnd) { return (int)(LONG)GetWindowLongPtrW(hwnd, GWLP_ID); }

static HWND find_descendant(HWND parent, int id) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (control_id(c) == id) return c;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (HWND found = find_descendant(c, id)) return found;
    return nullptr;
}

HWND resolve_item(HWND parent, const std::string& id_text) {
    require_window(parent);
    if (id_text == "self" || id_text == "-1") return parent;
    long long id = parse_int(id_text, "control id");
    if (HWND item = find_descendant(parent, (int)id)) return item;
    // Dialog templates store ids as 16-bit WORDs: let 65535 and -1 style ids match either way.
    if (id < 0 && id >= -32768)
        if (HWND item = find_descendant(parent, (int)(id & 0xFFFF))) return item;
    throw CommandError("window " + hex_hwnd(parent) + " (" + class_name(parent) + ") has no item with id " + id_text);
}

bool iequals(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

}  // namespace uid
