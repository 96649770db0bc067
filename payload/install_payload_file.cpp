// The scratch file is removed on every way out once it was written, and the LZ handle
// closed before it: the open handle would keep the file from being deleted.
#include "payload/install_payload_file.h"

#include <string.h>

#include "codec/crc32.h"
#include "codec/little_endian.h"
#include "codec/szdd.h"
#include "framework/file_error.h"
#include "framework/message_box.h"
#include "framework/path.h"
#include "framework/resource_bytes.h"
#include "framework/scope_exit.h"
#include "framework/string_table.h"
#include "payload/lz_service.h"
#include "resources/resource.h"

namespace {

const char kScratchFile[] = "dummy.tmp";

CText ScratchPath(const char* installDir) { return JoinPath(installDir, kScratchFile); }
CText TargetPath(const char* installDir, const PayloadEntry& entry) {
    return JoinPath(JoinPath(installDir, entry.subFolder), LoadText(entry.nameId));
}

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
bool RecordedChecksum(const char* resourceName, uint32_t* crc) {
    ResourceBytes table;
    if (!FindResourceBytes("FILECRC", "CHECKSUMS", 0, &table)) return false;
    const char* p = reinterpret_cast<const char*>(table.data);
    const char* end = p + table.size;
    while (p < end) {
        const char* zero = static_cast<const char*>(memchr(p, '\0', static_cast<size_t>(end - p)));
        if (!zero || end - zero < 5) return false;
        if (strcmp(p, resourceName) == 0) {
            *crc = LoadLittleEndian32(reinterpret_cast<const uint8_t*>(zero + 1));
            return true;
        }
        p = zero + 5;
    }
    return false;
}

// True when the entry's bytes are those the build packed. The system's expansion service
// would otherwise turn damaged bytes into a file of the right length and count it as
// written.
bool IsIntact(const char* resourceName, const ResourceBytes& packed) {
    uint32_t recorded = 0;
    return RecordedChecksum(resourceName, &recorded) && Crc32(packed.data, packed.size) == recorded;
}

// Writes the entry's bytes to the scratch file in one write. `created` tells whether the
// file could be made at all; a write or close failure is raised with the file's path.
CFailure WriteScratch(const char* path, const ResourceBytes& packed, bool* created) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    *created = file != INVALID_HANDLE_VALUE;
    if (!*created) return CFailure();
    DWORD written = 0;
    BOOL ok = WriteFile(file, packed.data, packed.size, &written, nullptr);
    DWORD error = GetLastError();
    BOOL closed = CloseHandle(file);
    if (!ok) return RaiseFileError(error, path);
    if (written < packed.size) return RaiseFileError(ERROR_DISK_FULL, path);  // a short write means a full disk
    if (!closed) return RaiseFileError(GetLastError(), path);
    return CFailure();
}

// Deletes the old target, asking the user to close it while it is in use; false when
// the user gave up. A target that is not there needs no deleting.
bool DeleteOldTarget(HWND owner, const CText& target) {
    while (!DeleteFileA(target)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        if (ShowMessage(owner, FormatText(IDS_CANNOT_UPDATE_FILE, target), MB_OKCANCEL | MB_ICONQUESTION,
                        LoadText(IDS_CAPTION)) != IDOK)
            return false;
    }
    return true;
}

// Expands the scratch file into the target: the byte count the service gave, or a
// negative number when nothing was expanded.
LONG ExpandScratch(const LzService& lz, HWND owner, const CText& scratch, const CText& target) {
    HANDLE sourceFile = OpenForExpansion(scratch);
    if (sourceFile == INVALID_HANDLE_VALUE) return -1;
    INT source = lz.Init(sourceFile);
    if (source < 0) {
        CloseHandle(sourceFile);  // still ours when the service refused it
        return -1;
    }
    auto closeSource = MakeScopeExit([&] { lz.Close(source); });
    if (!DeleteOldTarget(owner, target)) return -1;
    HANDLE targetFile = CreateTarget(target);
    if (targetFile == INVALID_HANDLE_VALUE) return -1;
    LONG copied = lz.Copy(source, targetFile);
    CloseHandle(targetFile);
    return copied;
}

}  // namespace

CFailure InstallPayloadFile(HWND owner, const char* installDir, const PayloadEntry& entry, int* written) {
    *written = 0;
    ResourceBytes packed;
    szdd::Header header;
    if (!FindResourceBytes("FILE", entry.resourceName, 0, &packed) || !IsIntact(entry.resourceName, packed) ||
        szdd::ParseHeader(packed.data, packed.size, &header) != szdd::Status::kOk)
        return CFailure();

    const CText scratch = ScratchPath(installDir);
    const CText target = TargetPath(installDir, entry);
    if (!FitsPathLimit(scratch) || !FitsPathLimit(target)) return CFailure();  // the disk stays untouched

    LzService lz;
    if (!lz.Load()) return CFailure();

    bool created = false;
    RETURN_IF_RAISED(WriteScratch(scratch, packed, &created));
    if (!created) return CFailure();  // never expand a stale scratch file in its place
    auto removeScratch = MakeScopeExit([&] { DeleteFileA(scratch); });

    LONG copied = ExpandScratch(lz, owner, scratch, target);
    // The service copies a file without the magic unchanged, and some versions answer 0
    // for an unknown mode: only the header's whole length counts as written.
    *written = copied >= 0 && static_cast<DWORD>(copied) == header.expandedLength ? 1 : 0;
    return CFailure();
}

bool PayloadFitsUnder(const char* installDir) {
    if (!FitsPathLimit(ScratchPath(installDir))) return false;
    for (const PayloadEntry& entry : kPayloadCatalogue)
        if (!FitsPathLimit(TargetPath(installDir, entry))) return false;
    return true;
}

ULONGLONG InstalledPayloadBytes(const char* installDir) {
    ULONGLONG bytes = 0;
    WIN32_FILE_ATTRIBUTE_DATA file;
    for (const PayloadEntry& entry : kPayloadCatalogue)
        if (GetFileAttributesExA(TargetPath(installDir, entry), GetFileExInfoStandard, &file))
            bytes += ULONGLONG(file.nFileSizeHigh) << 32 | file.nFileSizeLow;
    return bytes;
}
