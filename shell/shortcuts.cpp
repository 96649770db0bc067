#include "shell/shortcuts.h"

#include <objidl.h>
#include <shlobj.h>

#include "framework/message_box.h"
#include "framework/path.h"
#include "framework/string_table.h"
#include "payload/catalogue.h"
#include "resources/resource.h"
#include "shell/shell_folders.h"

const char kProgramGroup[] = "[ mp3 - sondrel ]";

const ShortcutRow kShortcutTable[kShortcutCount] = {
    {IDS_FILE_MAIN_APP, IDS_LINK_MAIN_APP, "Desktop", nullptr, nullptr},
    {IDS_FILE_MAIN_APP, IDS_LINK_MAIN_APP, "Programs", kProgramGroup, nullptr},
    {IDS_FILE_TRAY, IDS_LINK_MAIN_APP, "Startup", nullptr, nullptr},  // the tray launcher starts at logon
    {IDS_FILE_README, IDS_LINK_README, "Programs", kProgramGroup, kHtmlViewFolder},
    {IDS_FILE_MANUAL, IDS_LINK_MANUAL, "Programs", kProgramGroup, kHtmlViewFolder},
    {IDS_FILE_WEBSITE, IDS_LINK_WEBSITE, "Programs", kProgramGroup, nullptr},
    {IDS_FILE_UNINSTALL, IDS_LINK_UNINSTALL, "Programs", kProgramGroup, nullptr},
    {IDS_FILE_PLAYER, IDS_LINK_PLAYER, "Desktop", nullptr, nullptr},
    {IDS_FILE_PLAYER, IDS_LINK_PLAYER, "Programs", kProgramGroup, nullptr},
};

HRESULT CreateShellLink(const char* target, const char* linkFile, const char* description, HWND owner) {
    IShellLinkA* link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (FAILED(hr)) return hr;
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(hr)) {
        link->Release();
        return hr;
    }
    if (FAILED(link->SetPath(target))) ShowMessage(owner, "SetPath failed!", MB_OK | MB_ICONEXCLAMATION);
    if (FAILED(link->SetDescription(description)))
        ShowMessage(owner, "SetDescription failed!", MB_OK | MB_ICONEXCLAMATION);
    WCHAR wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wide, MAX_PATH) > 0)
        hr = file->Save(wide, TRUE);
    else
        hr = HRESULT_FROM_WIN32(GetLastError());
    file->Release();
    link->Release();
    return hr;
}

void CreateShortcut(HWND owner, const char* installDir, const ShortcutRow& row) {
    CText folder;
    if (!GetShellFolder(row.shellFolder, &folder)) return;
    if (row.group) {
        folder = JoinPath(folder, row.group);
        CreateDirectoryA(folder, nullptr);  // from the second row of the group on, it exists
    }
    CText target = JoinPath(JoinPath(installDir, row.subFolder), LoadText(row.targetNameId));
    CText linkFile = JoinPath(folder, LoadText(row.linkNameId));
    if (!FitsPathLimit(target) || !FitsPathLimit(linkFile)) return;  // would not fit: skipped
    CreateShellLink(target, linkFile, "", owner);
}

void CreateShortcuts(HWND owner, const char* installDir) {
    // Only a fresh initialisation counts: S_FALSE (already initialised) skips the rows
    // as a failure does. It is never undone; it lasts until the program ends.
    if (CoInitialize(nullptr) != S_OK) return;
    for (const ShortcutRow& row : kShortcutTable) CreateShortcut(owner, installDir, row);
}
