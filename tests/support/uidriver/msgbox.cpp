#include "msgbox.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "screenshot.h"
#include "winutil.h"

namespace uid {

namespace {

// The icon's handle belongs to the message box's process: under Wine, icon
// handles are per process (GetIconInfo on it fails here and LoadIcon gives a
// different value here), so the kind is found from the pixels instead: the
// icon static is captured from the screen and compared with the four standard
// icons drawn here at the same size, on opaque pixels only.
struct Candidate {
    const char* name;
    LPCWSTR id;
};
const Candidate kCandidates[] = {
    {"stop", MAKEINTRESOURCEW(32513)},  // IDI_HAND
    {"question", MAKEINTRESOURCEW(32514)},  // IDI_QUESTION
    {"exclamation", MAKEINTRESOURCEW(32515)},  // IDI_EXCLAMATION
    {"information", MAKEINTRESOURCEW(32516)},  // IDI_ASTERISK
};

Image render_icon(HICON icon, int w, int h, COLORREF background) {
    Image img;
    img.width = w;
    img.height = h;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT rc{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(mem, &rc, brush);
    DeleteObject(brush);
    DrawIconEx(mem, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const uint8_t* p = static_cast<const uint8_t*>(bits);
    img.bgr.resize(size_t(w) * h * 3);
    for (size_t i = 0, n = size_t(w) * h; i < n; ++i)
        for (int c = 0; c < 3; ++c) img.bgr[i * 3 + c] = p[i * 4 + c];
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return img;
}

// Mean absolute difference per channel over the icon's opaque pixels
// (those that come out the same on black and on white); INT_MAX if none.
int icon_distance(const Image& shot, HICON icon) {
    Image on_black = render_icon(icon, shot.width, shot.height, RGB(0, 0, 0));
    Image on_white = render_icon(icon, shot.width, shot.height, RGB(255, 255, 255));
    long long sum = 0, count = 0;
    for (size_t i = 0; i < shot.bgr.size(); i += 3) {
        bool opaque = on_black.bgr[i] == on_white.bgr[i] && on_black.bgr[i + 1] == on_white.bgr[i + 1] &&
                      on_black.bgr[i + 2] == on_white.bgr[i + 2];
        if (!opaque) continue;
        for (int c = 0; c < 3; ++c) sum += std::abs(int(shot.bgr[i + c]) - int(on_black.bgr[i + c]));
        count += 3;
    }
    return count ? int(sum / count) : INT_MAX;
}

std::string icon_kind(HWND box, HWND icon_static) {
    if (!icon_static || !IsWindowVisible(icon_static)) return "none";
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(icon_static, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &handle);
    if (!handle)
        SendMessageTimeoutW(icon_static, STM_GETIMAGE, IMAGE_ICON, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                            &handle);
    if (!handle) return "none";
    RECT rc{};
    GetClientRect(icon_static, &rc);
    MapWindowPoints(icon_static, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    if (rc.right - rc.left <= 0 || rc.bottom - rc.top <= 0) return "none";
    make_painted(box, 100);
    Image shot = capture_screen_rect(rc);
    std::string best = "unknown";
    int best_distance = INT_MAX;
    for (const Candidate& c : kCandidates) {
        int d = icon_distance(shot, LoadIconW(nullptr, c.id));
        if (d < best_distance) best_distance = d, best = c.name;
    }
    // A custom icon or one hidden behind another window matches none well.
    return best_distance <= 24 ? best : "unknown";
}

}  // namespace

Reply cmd_msgbox(HWND hwnd) {
    require_window(hwnd);
    std::string cls = class_name(hwnd);
    if (cls != "#32770") throw CommandError("window " + hex_hwnd(hwnd) + " is a '" + cls + "', not a message box (#32770)");
    std::string text;
    bool have_text = false;
    std::string buttons;
    HWND icon_static = nullptr;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        std::string ccls = class_name(c);
        int id = control_id(c);
        LONG style = GetWindowLongW(c, GWL_STYLE);
        if (iequals(ccls, "Static")) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                if (!icon_static) icon_static = c;
            } else if ((id & 0xFFFF) == 0xFFFF && !have_text) {
                text = window_text(c);
                have_text = true;
            }
        } else if (iequals(ccls, "Button") && (style & WS_VISIBLE)) {
            if (!buttons.empty()) buttons += "|";
            buttons += dec(id) + "=" + window_text(c);
        }
    }
    if (!have_text) throw CommandError("window " + hex_hwnd(hwnd) + " has no static text with id 65535: not a message box?");
    return Reply().add(window_text(hwnd)).add(text).add(buttons).add(icon_kind(hwnd, icon_static));
}

}  // namespace uid
