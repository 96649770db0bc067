#include "shell/shortcuts.h"

#include <objidl.h>
#include <shlobj.h>

#include "framework/message_box.h"
#include "framework/path.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/shell_folders.h"

const char kProgramGroup[] = PRODUCT_NAME;

namespace {

// The shortcuts, one row each; the build checks that none is missing or doubled.
const size_t kShortcutCount = 9;
const ShortcutRow kShortcutTable[] = {
    {IDS_FILE_MAIN_APP, IDS_LINK_MAIN_APP, kDesktopFolder, false, false},
    {IDS_FILE_MAIN_APP, IDS_LINK_MAIN_APP, kProgramsFolder, true, false},
    {IDS_FILE_TRAY, IDS_LINK_MAIN_APP, kStartupFolder, false, false},  // the tray launcher starts at logon
    {IDS_FILE_README, IDS_LINK_README, kProgramsFolder, true, true},
    {IDS_FILE_MANUAL, IDS_LINK_MANUAL, kProgramsFolder, true, true},
    {IDS_FILE_WEBSITE, IDS_LINK_WEBSITE, kProgramsFolder, true, false},
    {IDS_FILE_UNINSTALL, IDS_LINK_UNINSTALL, kProgramsFolder, true, false},
    {IDS_FILE_PLAYER, IDS_LINK_PLAYER, kDesktopFolder, false, false},
    {IDS_FILE_PLAYER, IDS_LINK_PLAYER, kProgramsFolder, true, false},
};
static_assert(sizeof kShortcutTable / sizeof kShortcutTable[0] == kShortcutCount, "one row for every shortcut");

}  // namespace

HRESULT CreateShellLink(const WCHAR* target, const WCHAR* linkFile, const WCHAR* description, HWND owner) {
    IShellLinkW* link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
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
    hr = file->Save(linkFile, TRUE);
    file->Release();
    link->Release();
    return hr;
}

namespace {

// The link file of a row: its shell folder, its group's folder when it has one, then its
// name as the string table holds it. *group is the group's folder, empty for none.
bool LinkFile(const ShortcutRow& row, CWidePath* link, CWidePath* group) {
    group->Assign(L"", 0);
    if (!GetShellFolder(row.shellFolder, link)) return false;
    if (row.inGroup && (!link->JoinAnsi(kProgramGroup) || !group->Assign(link->c_str(), link->Length()))) return false;
    int length = 0;
    const WCHAR* name = LoadWideText(row.linkNameId, &length);
    return name && link->Join(name, static_cast<size_t>(length));
}

}  // namespace

// The target is the file as the payload step named it, in the system's code page; only
// the link's own path is built in UTF-16 from the start. The group's folder is made only
// once both paths are whole, so a row that is skipped leaves no empty group behind.
void CreateShortcut(HWND owner, const char* installDir, const char* documentsFolder, const ShortcutRow& row) {
    CWidePath link, group, target;
    if (!LinkFile(row, &link, &group)) return;  // a folder that cannot be had or would not fit: skipped
    const char* subFolder = row.inDocuments ? documentsFolder : nullptr;
    if (!target.AssignAnsi(JoinPath(JoinPath(installDir, subFolder), LoadText(row.targetNameId)))) return;
    if (group.Length()) CreateDirectoryW(group.c_str(), nullptr);  // from the second row of the group on, it exists
    CreateShellLink(target.c_str(), link.c_str(), L"", owner);
}

void CreateShortcuts(HWND owner, const char* installDir, const char* documentsFolder) {
    // Only a fresh initialisation counts: S_FALSE (already initialised) skips the rows
    // as a failure does. It is never undone; it lasts until the program ends.
    if (CoInitialize(nullptr) != S_OK) return;
    for (const ShortcutRow& row : kShortcutTable) CreateShortcut(owner, installDir, documentsFolder, row);
}
