// Removal of the previous version's shortcuts: its desktop link "[ mp3 sondrel ].lnk" and
// its program group "[ mp3 sondrel ]", both named without the dash the current names
// carry.
#pragma once

// Deletes the old desktop link (a folder of that name stays) and every file of the old
// group, then the group itself (its sub-folders stay). False when the old group was found
// and is still there afterwards.
bool RemoveOldShortcuts();
