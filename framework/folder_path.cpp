#include "framework/folder_path.h"

#include <shlobj.h>

namespace {

bool IsSeparator(WCHAR c) { return c == L'\\'; }

bool IsDriveLetter(WCHAR c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Length of the name that starts at `name` (up to the next separator or the end).
size_t NameLength(const WCHAR* name) {
    size_t n = 0;
    while (name[n] && !IsSeparator(name[n])) ++n;
    return n;
}

bool IsForbidden(WCHAR c) {
    if (c < 0x20) return true;
    for (const WCHAR* f = L"<>:\"|?*"; *f; ++f)
        if (c == *f) return true;
    return false;
}

WCHAR Upper(WCHAR c) { return c >= L'a' && c <= L'z' ? static_cast<WCHAR>(c - L'a' + L'A') : c; }

// True when the first `length` characters of `name` are `word` (ASCII), whatever their case.
bool IsWord(const WCHAR* name, size_t length, const char* word) {
    size_t i = 0;
    while (i < length && word[i] && Upper(name[i]) == static_cast<WCHAR>(word[i])) ++i;
    return i == length && !word[i];
}

bool IsPortNumber(WCHAR c) { return (c >= L'0' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3; }

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, and COM or LPT followed by a digit or a superscript
// one, two or three: the system opens the device whatever folder or extension goes with
// them (blanks before the extension count for nothing).
bool IsDeviceName(const WCHAR* name, size_t length) {
    size_t n = 0;
    while (n < length && name[n] != L'.') ++n;
    while (n > 0 && name[n - 1] == L' ') --n;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (IsWord(name, n, device)) return true;
    return n == 4 && (IsWord(name, 3, "COM") || IsWord(name, 3, "LPT")) && IsPortNumber(name[3]);
}

// "." and ".." name the folder itself and its parent: they are steps, not names.
bool IsStep(const WCHAR* name, size_t length) {
    return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

PathFault CheckName(const WCHAR* name, size_t length) {
    if (IsStep(name, length)) return PathFault::kNone;
    if (IsDeviceName(name, length)) return PathFault::kReservedName;
    if (length > 0 && (name[length - 1] == L' ' || name[length - 1] == L'.')) return PathFault::kBadEnding;
    return PathFault::kNone;
}

}  // namespace

size_t FullPathRoot(const CWidePath& path) {
    const WCHAR* p = path.c_str();
    if (IsDriveLetter(p[0]) && p[1] == L':' && IsSeparator(p[2])) return 3;
    if (!IsSeparator(p[0]) || !IsSeparator(p[1])) return 0;
    size_t server = NameLength(p + 2);
    if (server == 0 || !IsSeparator(p[2 + server])) return 0;
    size_t shareStart = 3 + server;
    size_t share = NameLength(p + shareStart);
    if (share == 0) return 0;
    size_t end = shareStart + share;
    return IsSeparator(p[end]) ? end + 1 : end;
}

PathFault CheckFolderPath(const CWidePath& path, CWidePath* culprit) {
    culprit->Assign(path.c_str(), path.Length());
    size_t root = FullPathRoot(path);
    if (root == 0) return PathFault::kNotFull;
    const WCHAR* p = path.c_str();
    for (size_t i = 2; i < path.Length(); ++i)  // the drive's ":" and the "\\" of a share are the root's own
        if (IsForbidden(p[i])) return PathFault::kForbiddenChar;
    // The server and share names are the network's business; the names below them are ours.
    for (size_t at = root; at < path.Length();) {
        size_t length = NameLength(p + at);
        PathFault fault = CheckName(p + at, length);
        if (fault != PathFault::kNone) {
            culprit->Assign(p + at, length);
            return fault;
        }
        at += length + 1;
    }
    return PathFault::kNone;
}

bool ExpandFolderPath(CWidePath* path) {
    WCHAR expanded[kMaxPathChars + 1];
    DWORD n = ExpandEnvironmentStringsW(path->c_str(), expanded, kMaxPathChars + 1);
    if (n == 0 || n > kMaxPathChars + 1 || !path->Assign(expanded, n - 1)) return false;
    for (const WCHAR* p = expanded; *p; ++p)
        if (*p == L'%') return false;  // a variable the system does not know
    return FullPathRoot(*path) != 0;
}

bool GetKnownFolder(int csidl, CWidePath* path) {
    WCHAR folder[MAX_PATH];
    return SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK &&
           path->Assign(folder, WideLength(folder)) && ExpandFolderPath(path);
}
