#include "framework/path.h"

#include <windows.h>

namespace {

// True when the last character (not merely the last byte: a double-byte character may
// end in the byte of "\") is a backslash.
bool EndsWithBackslash(const CText& path) {
    if (path.IsEmpty()) return false;
    const char* begin = path.c_str();
    const char* last = CharPrevA(begin, begin + path.GetLength());
    return last + 1 == begin + path.GetLength() && *last == '\\';
}

}  // namespace

CText JoinPath(const CText& folder, const char* name) {
    if (!name) return folder;
    return EndsWithBackslash(folder) ? folder + name : folder + "\\" + name;
}

bool FitsPathLimit(const CText& path) {
    if (path.Failed()) return false;
    if (path.GetLength() <= kMaxPathChars) return true;  // no code page has more characters than bytes
    int units = MultiByteToWideChar(CP_ACP, 0, path, static_cast<int>(path.GetLength()), nullptr, 0);
    return units > 0 && static_cast<size_t>(units) <= kMaxPathChars;
}
