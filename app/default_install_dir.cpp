#include <shlobj.h>

#include "app/setup_dlg.h"
#include "framework/folder_path.h"
#include "framework/registry_text.h"

// The stored text as the system means it: "%ProgramFiles%" and the like are expanded, so
// a system on another drive, or a 32-bit program on 64-bit Windows, gets its real Program
// Files folder. A text that cannot be expanded whole, a relative one, or one the system's
// code page cannot hold is no folder: the shell's Program Files folder serves, as for a
// missing value.
CText CSetupDlg::GetDefaultInstallDir() {
    CWidePath folder;
    CText dir;
    if (ReadRegistryPath(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesPath",
                         &folder) &&
        ExpandFolderPath(&folder) && folder.ToAnsi(&dir))
        return dir;
    if (GetKnownFolder(CSIDL_PROGRAM_FILES, &folder)) folder.ToAnsi(&dir);
    return dir;
}
