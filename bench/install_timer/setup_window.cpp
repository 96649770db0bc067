#include "setup_window.h"

#include <stdexcept>

#include "box.h"
#include "resources/product.h"
#include "text.h"

namespace {

const wchar_t kSetupTitle[] = L"" SETUP_CAPTION;
const int kFolderEdit = 1001;
const DWORD kLookEveryMs = 10;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK LookAt(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (wcscmp(name, L"#32770") != 0 || Caption(hwnd) != kSetupTitle || !GetDlgItem(hwnd, kFolderEdit)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

std::wstring EditText(HWND edit) {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, MAX_PATH + 1, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 10000,
                        &length);
    return std::wstring(buffer, length);
}

}  // namespace

HWND WaitForSetupDialog(const ChildProcess& setup, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += kLookEveryMs) {
        Search search{setup.Id(), nullptr};
        EnumWindows(LookAt, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (WaitForSingleObject(setup.Handle(), kLookEveryMs) == WAIT_OBJECT_0)
            throw std::runtime_error("setup.exe ended (status " + std::to_string(setup.ExitCode()) +
                                     ") before its dialog came up");
    }
    throw std::runtime_error("setup.exe's dialog did not come up within " + std::to_string(timeoutMs / 1000) + " s");
}

void SetInstallFolder(HWND dialog, const std::wstring& folder) {
    HWND edit = GetDlgItem(dialog, kFolderEdit);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()), SMTO_ABORTIFHUNG, 10000, &result);
    if (EditText(edit) != folder) throw std::runtime_error("cannot set the install folder to " + Utf8(folder));
}

void PressInstall(HWND dialog) { PressButton(dialog, IDOK); }
