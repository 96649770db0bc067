#include "framework/path.h"

#include <windows.h>

bool EndsWithBackslash(const CText& path) {
    if (path.IsEmpty()) return false;
    const char* begin = path.c_str();
    const char* last = CharPrevA(begin, begin + path.GetLength());
    return last + 1 == begin + path.GetLength() && *last == '\\';
}

CText JoinPath(const CText& folder, const char* name) {
    if (!name) return folder;
    return EndsWithBackslash(folder) ? folder + name : folder + "\\" + name;
}

bool FitsPathLimit(const CText& path) { return !path.Failed() && path.GetLength() <= kMaxPathChars; }

bool EntryExists(const char* path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
