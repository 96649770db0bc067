#include "dlgunits.h"

#include <vector>

#include "protocol.h"
#include "winutil.h"

namespace uid {

namespace {

bool units_from_font(HFONT font, BaseUnits* out) {
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    bool ok = false;
    HGDIOBJ old = SelectObject(dc, font);
    if (old && old != HGDI_ERROR) {
        // What GdiGetCharDimensions computes, which is what the dialog manager uses.
        TEXTMETRICW tm;
        SIZE size;
        static const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        if (GetTextMetricsW(dc, &tm) && GetTextExtentPoint32W(dc, alphabet, 52, &size)) {
            out->x = (size.cx / 26 + 1) / 2;
            out->y = tm.tmHeight;
            ok = out->x > 0 && out->y > 0;
        }
        SelectObject(dc, old);
    }
    ReleaseDC(nullptr, dc);
    return ok;
}

// The font a DS_SETFONT template with this face and point size gets.
bool units_from_template_font(const std::wstring& face, int points, BaseUnits* out) {
    HDC dc = GetDC(nullptr);
    int pixels = MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    HFONT font = CreateFontW(-pixels, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                             PROOF_QUALITY, FF_DONTCARE, face.c_str());
    if (!font) return false;
    bool ok = units_from_font(font, out);
    DeleteObject(font);
    return ok;
}

bool units_from_message_font(BaseUnits* out) {  // template point size 0x7fff
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return false;
    HFONT font = CreateFontIndirectW(&ncm.lfMessageFont);
    if (!font) return false;
    bool ok = units_from_font(font, out);
    DeleteObject(font);
    return ok;
}

// Pixel values that the dialog manager computed from dialog units, unless the
// program moved things since: x, y, width, height of every child, and the
// dialog's client size.
struct Geometry {
    std::vector<int> xs, ys;
};

Geometry dialog_geometry(HWND dialog) {
    Geometry g;
    RECT cr{};
    GetClientRect(dialog, &cr);
    g.xs.push_back(cr.right);
    g.ys.push_back(cr.bottom);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT rc{};
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
        g.xs.push_back(rc.left);
        g.xs.push_back(rc.right - rc.left);
        g.ys.push_back(rc.top);
        g.ys.push_back(rc.bottom - rc.top);
    }
    return g;
}

bool reachable(int px, int base, int per) { return MulDiv(px_to_dlu(px, base, per), base, per) == px; }

// How many of the geometry's values these base units reproduce exactly.
int score(const Geometry& g, const BaseUnits& bu) {
    int n = 0;
    for (int v : g.xs) n += reachable(v, bu.x, 4);
    for (int v : g.ys) n += reachable(v, bu.y, 8);
    return n;
}

}  // namespace

BaseUnits dialog_base_units(HWND dialog, const FontHint& hint) {
    BaseUnits bu;
    DWORD_PTR font = 0;
    // Under Wine 8 this send fails for a window of another process: Wine does
    // not pass WM_GETFONT / WM_SETFONT between processes (an HFONT is only
    // valid in the process that made it).
    bool sent = SendMessageTimeoutW(dialog, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &font);
    if (sent && !font) {
        LONG v = GetDialogBaseUnits();
        bu.x = LOWORD(v);
        bu.y = HIWORD(v);
        bu.source = "system font";
        return bu;
    }
    if (sent && units_from_font((HFONT)font, &bu)) {
        bu.source = "dialog font";
        return bu;
    }
    bu = BaseUnits();
    if (hint.given()) {
        if (units_from_template_font(hint.face, hint.points, &bu)) {
            bu.source = "given font " + narrow(hint.face) + " " + dec(hint.points);
            return bu;
        }
        bu = BaseUnits();
        bu.source = "given font " + narrow(hint.face) + " " + dec(hint.points) + " cannot be made";
        return bu;
    }
    // The usual dialog fonts, most likely first.
    static const struct { const wchar_t* face; int points; } candidates[] = {
        {L"MS Shell Dlg", 8}, {L"MS Shell Dlg 2", 8}, {L"MS Sans Serif", 8}, {L"Tahoma", 8},
        {L"Microsoft Sans Serif", 8}, {L"Segoe UI", 9}, {L"Arial", 8}, {L"Verdana", 8},
        {L"MS Shell Dlg", 9}, {L"MS Shell Dlg", 10}, {L"Segoe UI", 8}, {L"Tahoma", 9},
    };
    Geometry g = dialog_geometry(dialog);
    const int total = int(g.xs.size() + g.ys.size());
    BaseUnits best;
    int best_score = -1;
    std::string best_name;
    auto consider = [&](const BaseUnits& c, const std::string& name) {
        int s = score(g, c);
        if (s > best_score) best = c, best_score = s, best_name = name;
    };
    for (const auto& c : candidates) {
        BaseUnits cu;
        if (units_from_template_font(c.face, c.points, &cu)) consider(cu, narrow(c.face) + " " + dec(c.points));
    }
    BaseUnits mu;
    if (units_from_message_font(&mu)) consider(mu, "message font");
    LONG sys = GetDialogBaseUnits();
    BaseUnits su;
    su.x = LOWORD(sys);
    su.y = HIWORD(sys);
    consider(su, "system font");
    // Only a font that reproduces every value is taken: a wrong guess would
    // give wrong dialog units, worse than none. (A program that moves a
    // control after creation, or lays out in pixels as Wine's message box
    // does, gets -1 unless the caller names the font.)
    if (best_score == total) {
        best.source = "font guessed from geometry: " + best_name + " (all " + dec(total) + " values fit)";
        return best;
    }
    bu = BaseUnits();
    bu.source = "dialog font not readable from this process and no usual dialog font fits its geometry";
    return bu;
}

int px_to_dlu(int px, int base, int per) {
    if (base <= 0) return -1;
    // Rounded px * per / base, then the neighbour whose forward mapping
    // reproduces px exactly, if any.
    int guess = MulDiv(px, per, base);
    for (int d = 0; d <= 3; ++d) {
        if (MulDiv(guess - d, base, per) == px) return guess - d;
        if (d && MulDiv(guess + d, base, per) == px) return guess + d;
    }
    return guess;
}

}  // namespace uid
