// Reading and setting the state of windows and controls of another process.
#pragma once

#include <windows.h>

#include <string>

#include "dlgunits.h"
#include "protocol.h"

namespace uid {

Reply cmd_info(HWND hwnd);
// Child records end with the rect in dialog units (-1s if the base units are
// unknown); hint: the dialog font, if the caller knows it (see dlgunits.h).
Reply cmd_children(HWND hwnd, const FontHint& hint);
// baseX, baseY, and how they were found.
Reply cmd_baseunits(HWND hwnd, const FontHint& hint);
Reply cmd_text(HWND hwnd, const std::string& id);
Reply cmd_settext(HWND hwnd, const std::string& id, const std::string& text);
Reply cmd_checked(HWND hwnd, const std::string& id);
Reply cmd_progress(HWND hwnd, const std::string& id);
Reply cmd_focus(HWND hwnd);

}  // namespace uid
