// Reading a standard message box (MessageBoxA/W): caption, text, buttons and
// which of the standard icons it shows.
#pragma once

#include <windows.h>

#include "protocol.h"

namespace uid {

// Reply: caption, text, buttons ("id=text|id=text" in Z order), icon (stop,
// question, exclamation, information, none, or unknown for a custom icon).
Reply cmd_msgbox(HWND hwnd);

}  // namespace uid
