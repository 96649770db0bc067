// Writes one payload entry to its place: the compressed bytes go unchanged to the scratch
// file "dummy.tmp" in the install directory, the old target is deleted (the user is asked
// to close it while it is in use), and the system's LZ service expands the scratch file
// into the target. The scratch file is removed on every way out once it was written.
// Nothing on disk is touched for an entry whose bytes are not those the build packed.
#include <string.h>

#include "app/setup_dlg.h"
#include "app/texts.h"
#include "framework/app.h"
#include "framework/file_error.h"
#include "framework/message_box.h"
#include "framework/path.h"
#include "payload/crc32.h"
#include "payload/lz_service.h"
#include "payload/szdd.h"

namespace {

const size_t kMaxPath = MAX_PATH - 1;  // characters, without the terminator

// Same access, sharing and creation rules as the LZ service's own opens (OF_READ, and
// OF_CREATE | OF_WRITE, in compatibility sharing mode), but without OpenFile's limit of
// 128 characters per path.
HANDLE OpenForExpansion(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
HANDLE CreateTarget(const char* path) {
    return CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The CRC-32 the build recorded for an entry: the CHECKSUMS resource holds, for each
// entry, its name, a zero byte and four bytes of checksum, least significant first.
bool RecordedChecksum(HMODULE module, const char* resourceName, uint32_t* crc) {
    HRSRC table = FindResourceA(module, "CHECKSUMS", "FILECRC");
    HGLOBAL loaded = table ? LoadResource(module, table) : nullptr;
    const char* p = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!p) return false;
    const char* end = p + SizeofResource(module, table);
    while (p < end) {
        const char* zero = static_cast<const char*>(memchr(p, '\0', static_cast<size_t>(end - p)));
        if (!zero || end - zero < 5) return false;
        const BYTE* b = reinterpret_cast<const BYTE*>(zero + 1);
        if (strcmp(p, resourceName) == 0) {
            *crc = b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
            return true;
        }
        p = zero + 5;
    }
    return false;
}

// True when the entry's bytes are those the build packed. The system's expansion service
// would otherwise turn damaged bytes into a file of the right length and count it as
// written.
bool IsIntact(HMODULE module, const char* resourceName, const void* bytes, DWORD size) {
    uint32_t recorded = 0;
    return RecordedChecksum(module, resourceName, &recorded) && Crc32(bytes, size) == recorded;
}

// Writes the entry's bytes to the scratch file in one write. `created` tells whether the
// file could be made at all; a write or close failure is raised with the file's path.
CFailure WriteScratch(const char* path, const void* bytes, DWORD size, bool* created) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    *created = file != INVALID_HANDLE_VALUE;
    if (!*created) return CFailure();
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, size, &written, nullptr);
    DWORD error = GetLastError();
    BOOL closed = CloseHandle(file);
    if (!ok) return RaiseFileError(FileErrorCauseOf(error), path);
    if (written < size) return RaiseFileError(FileErrorCause::kDiskFull, path);  // a short write means a full disk
    if (!closed) return RaiseFileError(FileErrorCauseOf(GetLastError()), path);
    return CFailure();
}

}  // namespace

CFailure CSetupDlg::InstallPayloadFile(const char* resourceName, UINT nameId, const char* subFolder, int* written) {
    *written = 0;
    CText name = LoadText(nameId);
    HMODULE module = AfxGetInstanceHandle();
    HRSRC resource = FindResourceA(module, resourceName, "FILE");
    if (!resource) return CFailure();
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, resource);
    szdd::Header header;
    if (!bytes || !IsIntact(module, resourceName, bytes, size) ||
        szdd::ParseHeader(static_cast<const uint8_t*>(bytes), size, &header) != szdd::Status::kOk)
        return CFailure();

    CText scratch = m_strInstallDir + "\\dummy.tmp";
    CText target = m_strInstallDir + (subFolder ? subFolder : "") + "\\" + name;
    if (scratch.GetLength() > kMaxPath || target.GetLength() > kMaxPath) return CFailure();  // the disk stays untouched

    LzService lz;
    if (!lz.Load()) return CFailure();

    bool created = false;
    RETURN_IF_RAISED(WriteScratch(scratch, bytes, size, &created));
    if (!created) return CFailure();  // never expand a stale scratch file in its place

    HANDLE sourceFile = OpenForExpansion(scratch);
    INT source = sourceFile == INVALID_HANDLE_VALUE ? -1 : lz.Init(sourceFile);
    if (source < 0) {
        if (sourceFile != INVALID_HANDLE_VALUE) CloseHandle(sourceFile);
        DeleteFileA(scratch);
        return CFailure();
    }

    if (EntryExists(target)) {
        while (!DeleteFileA(target)) {
            CText prompt = FormatText(IDS_CANNOT_UPDATE_FILE, target);
            if (ShowMessage(m_hWnd, prompt, MB_OKCANCEL | MB_ICONQUESTION, LoadText(IDS_CAPTION)) != IDOK) {
                lz.Close(source);
                DeleteFileA(scratch);
                return CFailure();
            }
        }
    }

    HANDLE targetFile = CreateTarget(target);
    if (targetFile == INVALID_HANDLE_VALUE) {
        lz.Close(source);
        DeleteFileA(scratch);
        return CFailure();
    }
    LONG copied = lz.Copy(source, targetFile);
    lz.Close(source);
    CloseHandle(targetFile);
    DeleteFileA(scratch);
    // The service copies a file without the magic unchanged, and some versions answer 0
    // for an unknown mode: only the header's whole length counts as written.
    *written = copied >= 0 && static_cast<DWORD>(copied) == header.expandedLength ? 1 : 0;
    return CFailure();
}
