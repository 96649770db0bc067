// Dialog base units of a dialog in another process, and pixel -> dialog unit
// conversion, the inverse of what the dialog manager does when it creates a
// template: px = MulDiv(dlu, baseX, 4) horizontally, MulDiv(dlu, baseY, 8)
// vertically, for each control's x, y, cx, cy and the dialog's client size.
//
// The base units come from the dialog font. Its handle (WM_GETFONT) is used
// when this process can get and select it (on Windows). Wine 8 does not pass
// WM_GETFONT between processes, and its GDI handles are per process, so there
// the font is made again here the way the dialog manager makes it from a
// template, CreateFont(-MulDiv(points, LOGPIXELSY, 72), ..., face): from the
// face and point size the caller names (exact), or else from a list of the
// usual dialog fonts, keeping the first whose base units reproduce the
// dialog's geometry (the source field of `baseunits` says which).
#pragma once

#include <windows.h>

#include <string>

namespace uid {

struct FontHint {
    std::wstring face;  // e.g. L"MS Shell Dlg"; empty: none given
    int points = 0;
    bool given() const { return !face.empty() && points > 0; }
};

struct BaseUnits {
    int x = -1, y = -1;  // -1, -1 when unknown
    std::string source;  // how they were found
    bool known() const { return x > 0 && y > 0; }
};

BaseUnits dialog_base_units(HWND dialog, const FontHint& hint);

// The dialog-unit value whose forward mapping MulDiv(dlu, base, per) gives px;
// if none does exactly, the nearest one. per is 4 for x, 8 for y.
int px_to_dlu(int px, int base, int per);

}  // namespace uid
