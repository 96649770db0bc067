#include "shell/settings.h"

namespace {
const char kSettingsFile[] = "MP3 SONDREL.INI";
const char kSection[] = "Setup";
const char kMailingListKey[] = "MailingList";
}  // namespace

void RecordInstallPath(const char* installDir) { WriteSetupSetting("InstallPath", installDir); }

void RecordPlayer() { WriteSetupSetting("Player", "1"); }

void RecordSubscription() { WriteSetupSetting(kMailingListKey, "1"); }

UINT ReadMailingListFlag() { return GetPrivateProfileIntA(kSection, kMailingListKey, 0, kSettingsFile); }

bool WriteSetupSetting(const char* key, const char* value) {
    return WritePrivateProfileStringA(kSection, key, value, kSettingsFile) != FALSE;
}
