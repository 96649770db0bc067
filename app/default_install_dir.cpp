#include <shlobj.h>

#include "app/setup_dlg.h"

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// The stored "ProgramFilesPath", unexpanded; false when the key or value cannot be read
// or does not fit a path buffer.
bool ReadProgramFilesPath(CText& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer - 1;  // the data need not end with a terminator of its own
    LONG status = RegQueryValueExA(key, "ProgramFilesPath", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    value = buffer;
    return true;
}

// `text` with its environment variables expanded; false when one is unknown or the
// result does not fit a path buffer.
bool Expand(const CText& text, CText& expanded) {
    char buffer[MAX_PATH];
    DWORD n = ExpandEnvironmentStringsA(text, buffer, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return false;
    expanded = buffer;
    return !expanded.Contains("%");
}

CText ShellProgramFilesFolder() {
    char path[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return CText();
    return path;
}

}  // namespace

// The stored text as the system means it: "%ProgramFiles%" and the like are expanded,
// so a system on another drive, or a 32-bit program on 64-bit Windows, gets its real
// Program Files folder. The fixed "C:\Program Files" serves only when that fails.
CText CSetupDlg::GetDefaultInstallDir() {
    CText stored;
    if (!ReadProgramFilesPath(stored) || stored.IsEmpty()) return ShellProgramFilesFolder();
    if (!stored.Contains("%")) return stored;
    CText expanded;
    if (Expand(stored, expanded)) return expanded;
    if (stored.Contains("%SystemDrive%") || stored.Contains("%ProgramFiles%")) return "C:\\Program Files";
    return stored;
}
