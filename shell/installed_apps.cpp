#include "shell/installed_apps.h"

#include <string.h>

#include "framework/path.h"
#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

const char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" PRODUCT_NAME;
const char kLocationValue[] = "InstallLocation";

// The names of the entry's values, each ended by a zero byte, in the order of their data
// below: the texts, then the numbers.
const char kTextNames[] = "DisplayName\0DisplayVersion\0Publisher\0InstallLocation\0UninstallString\0"
                          "DisplayIcon\0URLInfoAbout\0InstallDate\0";
const char kNumberNames[] = "EstimatedSize\0NoModify\0NoRepair\0";
const int kTextCount = 8;
const int kNumberCount = 3;

// Writes the values named in `names`, the i-th from data[i]; after the first error the rest
// are not tried. An empty text is left out.
LONG WriteValues(HKEY key, const char* names, DWORD type, const void* const* data, int count) {
    for (int i = 0; i < count; ++i, names += strlen(names) + 1) {
        const BYTE* value = static_cast<const BYTE*>(data[i]);
        DWORD size = type == REG_SZ ? static_cast<DWORD>(strlen(reinterpret_cast<const char*>(value)) + 1) : 4;
        if (size == 1) continue;
        if (LONG error = RegSetValueExA(key, names, 0, type, value, size)) return error;
    }
    return ERROR_SUCCESS;
}

LONG WriteEntry(HKEY key, const char* installDir, DWORD installedKb) {
    char uninstaller[kMaxPathChars + 3];  // quoted: the path may hold blanks
    wsprintfA(uninstaller, "\"%s\"", JoinPath(installDir, LoadText(IDS_FILE_UNINSTALL)).c_str());
    const CText program = JoinPath(installDir, LoadText(IDS_FILE_MAIN_APP));
    // The web site of the product's internet shortcut, unless it is too long to be read whole.
    char site[kMaxPathChars + 1];
    if (GetPrivateProfileStringA("InternetShortcut", "URL", "", site, sizeof site,
                                 JoinPath(installDir, LoadText(IDS_FILE_WEBSITE))) >= sizeof site - 1)
        site[0] = '\0';
    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[12];
    wsprintfA(date, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const void* texts[kTextCount] = {PRODUCT_NAME, PRODUCT_VERSION_TEXT, PRODUCT_COMPANY, installDir,
                                     uninstaller, program.c_str(), site, date};
    const DWORD numbers[kNumberCount] = {installedKb, 1, 1};  // this setup offers no change and no repair
    const void* numberData[kNumberCount] = {&numbers[0], &numbers[1], &numbers[2]};
    if (program.Failed()) return ERROR_NOT_ENOUGH_MEMORY;
    if (LONG error = WriteValues(key, kTextNames, REG_SZ, texts, kTextCount)) return error;
    return WriteValues(key, kNumberNames, REG_DWORD, numberData, kNumberCount);
}

}  // namespace

void RegisterInstalledProduct(const char* installDir, ULONGLONG installedBytes) {
    HKEY key;
    LONG error = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEntryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (!error) {
        error = WriteEntry(key, installDir, static_cast<DWORD>((installedBytes + 1023) / 1024));
        RegCloseKey(key);
    }
    if (!error) return;
    char note[64];
    wsprintfA(note, "setup: no installed-apps entry (system error %ld)\n", error);
    OutputDebugStringA(note);
}

void ForgetInstalledProduct(const char* installDir) {
    char location[kMaxPathChars + 1];
    DWORD size = sizeof location;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kEntryKey, kLocationValue, RRF_RT_REG_SZ, nullptr, location, &size) ==
            ERROR_SUCCESS &&
        lstrcmpiA(location, installDir) == 0)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEntryKey);
}
