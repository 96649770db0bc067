#include "app/install_dir.h"

#include <shlobj.h>

#include "framework/file_error.h"
#include "framework/folder_path.h"
#include "payload/install_payload_file.h"
#include "resources/resource.h"

namespace {

// Neither a blank nor a quote is ever the second byte of a double-byte character, and
// neither is "/": the text can be tidied byte by byte.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void TrimBlanks(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
}

CText Tidied(const CText& typed) {
    const char* begin = typed.c_str();
    const char* end = begin + typed.GetLength();
    TrimBlanks(begin, end);
    if (end - begin >= 2 && *begin == '"' && end[-1] == '"') {
        ++begin;
        --end;
        TrimBlanks(begin, end);
    }
    return CText(begin, static_cast<size_t>(end - begin)).Replaced("/", "\\");
}

// The path as the system resolves it: "." and ".." taken, separators single, and no
// trailing separator but the root's own.
bool Resolved(CWidePath* path) {
    WCHAR full[kMaxPathChars + 1];
    DWORD n = GetFullPathNameW(path->c_str(), kMaxPathChars + 1, full, nullptr);
    if (n == 0 || n > kMaxPathChars || !path->Assign(full, n)) return false;
    const size_t root = FullPathRoot(*path);
    while (n > root && full[n - 1] == L'\\') --n;
    return path->Assign(full, n);
}

// The text that names each fault, in a row of its own that stands at the fault's value:
// the build fails when the rows and the faults part ways.
struct FaultText {
    PathFault fault;
    UINT textId;
};
constexpr FaultText kFaultTexts[] = {
    {PathFault::kNone, 0},
    {PathFault::kNotFull, IDS_DIR_NOT_FULL},
    {PathFault::kForbiddenChar, IDS_DIR_FORBIDDEN_CHAR},
    {PathFault::kReservedName, IDS_DIR_DEVICE_NAME},
    {PathFault::kBadEnding, IDS_DIR_BAD_ENDING},
};
constexpr bool EveryFaultAtItsValue() {
    for (size_t i = 0; i < sizeof kFaultTexts / sizeof kFaultTexts[0]; ++i)
        if (static_cast<size_t>(kFaultTexts[i].fault) != i) return false;
    return sizeof kFaultTexts / sizeof kFaultTexts[0] == static_cast<size_t>(PathFault::kCount);
}
static_assert(EveryFaultAtItsValue(), "one row for every fault, at the fault's value");

UINT Refuse(UINT textId, const CWidePath& what, CText* named) {
    what.ToAnsi(named);
    return textId;
}

}  // namespace

UINT ChooseInstallDir(const CText& typed, CText* dir, CText* named) {
    *named = Tidied(typed);
    CWidePath path, culprit;
    if (!path.AssignAnsi(*named)) return IDS_DIR_TOO_LONG;
    if (UINT fault = kFaultTexts[static_cast<int>(CheckFolderPath(path, &culprit))].textId)
        return Refuse(fault, culprit, named);
    if (!Resolved(&path)) return IDS_DIR_TOO_LONG;
    culprit.Assign(path.c_str(), FullPathRoot(path));  // the drive's or share's root
    culprit.Join(L"", 0);
    if (GetFileAttributesW(culprit.c_str()) == INVALID_FILE_ATTRIBUTES) return Refuse(IDS_DIR_NO_DRIVE, culprit, named);
    if (!path.ToAnsi(dir)) return IDS_DIR_FORBIDDEN_CHAR;
    // A file higher up the path is left to the folders' creation, which then fails before
    // it has made anything.
    DWORD attributes = GetFileAttributesW(path.c_str());
    UINT problem = 0;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        problem = IDS_DIR_IS_FILE;
    else if (!PayloadFitsUnder(*dir))
        problem = IDS_DIR_TOO_LONG;
    if (problem) *named = *dir;
    return problem;
}

CFailure CreateInstallDir(const CText& dir) {
    CWidePath path;
    int error = path.AssignAnsi(dir) ? SHCreateDirectoryExW(nullptr, path.c_str(), nullptr) : ERROR_BAD_PATHNAME;
    if (error == ERROR_SUCCESS || error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return CFailure();
    return RaiseFileError(static_cast<DWORD>(error), dir);
}
