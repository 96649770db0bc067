// The settings file "MP3 SONDREL.INI" that the product's programs share, kept by the
// system's profile service in the Windows directory. The setup program writes only the
// "Setup" section, one key at a time.
#pragma once
#include <windows.h>

// The key that records an acknowledged subscription.
extern const char kMailingListKey[];

// Sets one key of the "Setup" section, keeping every other key and section of the file.
bool WriteSetupSetting(const char* key, const char* value);
// The "MailingList" key of the "Setup" section: 0 while the user has not subscribed.
UINT ReadMailingListFlag();
