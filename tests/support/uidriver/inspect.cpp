#include "inspect.h"

#include <commctrl.h>

#include "dlgunits.h"
#include "winutil.h"

namespace uid {

static const char* flag(BOOL b) { return b ? "1" : "0"; }

Reply cmd_info(HWND hwnd) {
    require_window(hwnd);
    RECT wr{}, cr{};
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    Reply r;
    r.add(class_name(hwnd))
        .add(window_text(hwnd))
        .add(hex32((DWORD)GetWindowLongW(hwnd, GWL_STYLE)))
        .add(hex32((DWORD)GetWindowLongW(hwnd, GWL_EXSTYLE)))
        .add(dec(wr.left)).add(dec(wr.top)).add(dec(wr.right)).add(dec(wr.bottom))
        .add(dec(cr.right - cr.left)).add(dec(cr.bottom - cr.top))
        .add(flag(IsWindowEnabled(hwnd)))
        .add(flag(IsWindowVisible(hwnd)))
        .add(flag(IsIconic(hwnd)))
        .add(hex_hwnd(GetWindow(hwnd, GW_OWNER)))
        .add(dec(pid))
        .add(dec(tid));
    return r;
}

Reply cmd_baseunits(HWND hwnd, const FontHint& hint) {
    require_window(hwnd);
    BaseUnits bu = dialog_base_units(hwnd, hint);
    return Reply().add(dec(bu.x)).add(dec(bu.y)).add(bu.source);
}

Reply cmd_children(HWND hwnd, const FontHint& hint) {
    require_window(hwnd);
    BaseUnits bu = dialog_base_units(hwnd, hint);
    Reply r;
    r.is_list = true;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT rc{};
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
        int dx = -1, dy = -1, dw = -1, dh = -1;
        if (bu.known()) {
            dx = px_to_dlu(rc.left, bu.x, 4);
            dy = px_to_dlu(rc.top, bu.y, 8);
            dw = px_to_dlu(rc.right - rc.left, bu.x, 4);
            dh = px_to_dlu(rc.bottom - rc.top, bu.y, 8);
        }
        r.rows.push_back({hex_hwnd(c), dec(control_id(c)), class_name(c), window_text(c),
                          hex32((DWORD)GetWindowLongW(c, GWL_STYLE)), hex32((DWORD)GetWindowLongW(c, GWL_EXSTYLE)),
                          dec(rc.left), dec(rc.top), dec(rc.right), dec(rc.bottom), dec(dx), dec(dy), dec(dw),
                          dec(dh)});
    }
    return r;
}

Reply cmd_text(HWND hwnd, const std::string& id) { return Reply().add(window_text_strict(resolve_item(hwnd, id))); }

Reply cmd_settext(HWND hwnd, const std::string& id, const std::string& text) {
    HWND item = resolve_item(hwnd, id);
    std::wstring w = widen(text);
    if (!send_checked(item, WM_SETTEXT, 0, (LPARAM)w.c_str(), "WM_SETTEXT"))
        throw CommandError("WM_SETTEXT refused by " + hex_hwnd(item));
    return Reply();
}

Reply cmd_checked(HWND hwnd, const std::string& id) {
    HWND item = resolve_item(hwnd, id);
    return Reply().add(dec(send_checked(item, BM_GETCHECK, 0, 0, "BM_GETCHECK")));
}

Reply cmd_progress(HWND hwnd, const std::string& id) {
    HWND item = resolve_item(hwnd, id);
    LRESULT pos = send_checked(item, PBM_GETPOS, 0, 0, "PBM_GETPOS");
    // With a NULL PBRANGE pointer, PBM_GETRANGE returns the low (wParam TRUE)
    // or high (FALSE) limit: no pointer has to cross the process boundary.
    LRESULT lo = send_checked(item, PBM_GETRANGE, TRUE, 0, "PBM_GETRANGE");
    LRESULT hi = send_checked(item, PBM_GETRANGE, FALSE, 0, "PBM_GETRANGE");
    return Reply().add(dec((int)pos)).add(dec((int)lo)).add(dec((int)hi));
}

static bool is_edit_class(const std::string& cls) {
    std::string lower;
    for (char c : cls) lower += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    return lower == "edit" || lower.find("richedit") != std::string::npos;
}

Reply cmd_focus(HWND hwnd) {
    require_window(hwnd);
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    if (!GetGUIThreadInfo(window_tid(hwnd), &gti))
        throw CommandError("GetGUIThreadInfo failed for the thread of " + hex_hwnd(hwnd) + " (error " +
                           dec(GetLastError()) + ")");
    HWND f = gti.hwndFocus;
    Reply r;
    r.add(hex_hwnd(f));
    if (f && IsWindow(f)) {
        std::string cls = class_name(f);
        r.add(dec(control_id(f))).add(cls).add(window_text(f));
        r.add(hex_hwnd(gti.hwndActive));
        long long start = -1, end = -1;
        if (is_edit_class(cls)) {
            DWORD_PTR sel = 0;
            if (SendMessageTimeoutW(f, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &sel)) {
                start = LOWORD(sel);
                end = HIWORD(sel);
            }
        }
        r.add(dec(start)).add(dec(end));
    } else {
        r.add("0").add("").add("").add(hex_hwnd(gti.hwndActive)).add("-1").add("-1");
    }
    return r;
}

}  // namespace uid
