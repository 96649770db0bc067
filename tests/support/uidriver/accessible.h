// The controls of a window as a screen reader reads them, through Microsoft Active
// Accessibility (oleacc) from this other process.
#pragma once

#include <windows.h>

#include "protocol.h"

namespace uid {

// List: hwnd, control id, class, name, keyboard shortcut of each child, in z-order; an
// absent name or shortcut is empty.
Reply cmd_accessible(HWND hwnd);

}  // namespace uid
