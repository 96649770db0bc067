// The shortcuts the install makes, and the shell-link service that writes them.
#pragma once
#include <windows.h>

struct ShortcutRow {
    UINT targetNameId;        // text naming the file the link starts
    UINT linkNameId;          // text naming the link file (".lnk")
    const char* shellFolder;  // "Desktop", "Programs" or "Startup"
    bool inGroup;             // in the program group's folder, not the shell folder itself
    bool inDocuments;         // the file lies in the documents' sub-folder, not the install directory
};

extern const char kProgramGroup[];

// Makes the link of one row, to its file under `installDir` (or its sub-folder
// `documentsFolder`, where the payload puts the documents); boxes are owned by `owner`.
// The link's folder and name are UTF-16 throughout, so a user folder named outside the
// system's code page gets its link. A row whose folder cannot be had, or whose paths
// would pass the path limit, is skipped; nothing is reported.
void CreateShortcut(HWND owner, const char* installDir, const char* documentsFolder, const ShortcutRow& row);
// Makes every shortcut of the table, only when the shell-link service could be initialised afresh
// on this thread (it then stays so until the program ends).
void CreateShortcuts(HWND owner, const char* installDir, const char* documentsFolder);

// Writes a link file holding `target` and `description` through the shell-link service
// (which the caller has initialised on this thread). Failures of SetPath and
// SetDescription are shown in boxes owned by `owner` and the link is still saved.
// Gives S_OK or the error of the step that failed.
HRESULT CreateShellLink(const WCHAR* target, const WCHAR* linkFile, const WCHAR* description, HWND owner);
