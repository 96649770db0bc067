#include <shlobj.h>

#include "app/setup_dlg.h"
#include "framework/registry_text.h"

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

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
// Program Files folder. A text that cannot be expanded whole is no folder: the shell's
// Program Files folder serves, as for a missing value.
CText CSetupDlg::GetDefaultInstallDir() {
    CText stored;
    if (!ReadRegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesPath", &stored) || stored.IsEmpty())
        return ShellProgramFilesFolder();
    if (!stored.Contains("%")) return stored;
    CText expanded;
    return Expand(stored, expanded) ? expanded : ShellProgramFilesFolder();
}
