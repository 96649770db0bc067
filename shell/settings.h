// The settings file "MP3 SONDREL.INI" that the product's programs share, kept by the
// system's profile service in the Windows directory: its one home, with its name, its
// section and its keys. The setup program writes only the "Setup" section, one key at a
// time, and keeps every other key and section of the file.
#pragma once
#include <windows.h>

// Records the directory of the install, where the installed programs look for it.
void RecordInstallPath(const char* installDir);
// Records the player flag the installed programs read, as set.
void RecordPlayer();
// Records an acknowledged subscription, so that the newsletter is not offered again.
void RecordSubscription();
// The recorded subscription: 0 while the user has not subscribed.
UINT ReadMailingListFlag();

// Sets one key of the "Setup" section: the profile service's one write, which the
// operations above use.
bool WriteSetupSetting(const char* key, const char* value);
