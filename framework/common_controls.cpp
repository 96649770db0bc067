#include "framework/common_controls.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/system_dll.h"

bool RegisterCommonControls() {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    // comctl32 is not one of the DLLs the loader protects, so it comes from the system
    // directory (or the side-by-side store that the manifest names) at run time.
    auto init = sysdll::Function<InitFn>("comctl32.dll", "InitCommonControlsEx");
    if (!init) return false;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    return init(&classes) != FALSE;
}
