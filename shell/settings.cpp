#include "shell/settings.h"

namespace {
const char kSettingsFile[] = "MP3 SONDREL.INI";
const char kSection[] = "Setup";
}  // namespace

const char kMailingListKey[] = "MailingList";

bool WriteSetupSetting(const char* key, const char* value) {
    return WritePrivateProfileStringA(kSection, key, value, kSettingsFile) != FALSE;
}

UINT ReadMailingListFlag() { return GetPrivateProfileIntA(kSection, kMailingListKey, 0, kSettingsFile); }
