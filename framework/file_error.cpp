#include "framework/file_error.h"

#include <string.h>

namespace {

// The system's errors by the cause they are reported as; any other is kGeneric. A table
// rather than a switch: the program keeps no jump table of addresses for it.
const struct {
    WORD error;
    FileErrorCause cause;
} kCauses[] = {
    {ERROR_FILE_NOT_FOUND, FileErrorCause::kFileNotFound},
    {ERROR_PATH_NOT_FOUND, FileErrorCause::kBadPath},
    {ERROR_INVALID_DRIVE, FileErrorCause::kBadPath},
    {ERROR_BAD_PATHNAME, FileErrorCause::kBadPath},
    {ERROR_INVALID_NAME, FileErrorCause::kBadPath},
    {ERROR_FILENAME_EXCED_RANGE, FileErrorCause::kBadPath},
    {ERROR_TOO_MANY_OPEN_FILES, FileErrorCause::kTooManyOpenFiles},
    {ERROR_ACCESS_DENIED, FileErrorCause::kAccessDenied},
    {ERROR_WRITE_PROTECT, FileErrorCause::kAccessDenied},
    {ERROR_INVALID_HANDLE, FileErrorCause::kInvalidFile},
    {ERROR_CANNOT_MAKE, FileErrorCause::kDirectoryFull},
    {ERROR_WRITE_FAULT, FileErrorCause::kHardIo},
    {ERROR_READ_FAULT, FileErrorCause::kHardIo},
    {ERROR_GEN_FAILURE, FileErrorCause::kHardIo},
    {ERROR_CRC, FileErrorCause::kHardIo},
    {ERROR_SECTOR_NOT_FOUND, FileErrorCause::kHardIo},
    {ERROR_SHARING_VIOLATION, FileErrorCause::kSharingViolation},
    {ERROR_LOCK_VIOLATION, FileErrorCause::kLockViolation},
    {ERROR_DISK_FULL, FileErrorCause::kDiskFull},
    {ERROR_HANDLE_DISK_FULL, FileErrorCause::kDiskFull},
    {ERROR_HANDLE_EOF, FileErrorCause::kEndOfFile},
};

// The wordings in the order of FileErrorCause, one after the other, each ended by its
// zero byte.
const char kWordings[] =
    "An unexpected error occurred while accessing %1.\0"
    "%1 was not found.\0"
    "%1 contains an incorrect path.\0"
    "%1 could not be opened because there are too many open files.\0"
    "Access to %1 was denied.\0"
    "An incorrect file handle was associated with %1.\0"
    "%1 could not be created because the directory is full.\0"
    "A hardware I/O error was reported while accessing %1.\0"
    "A sharing violation occurred while accessing %1.\0"
    "A locking violation occurred while accessing %1.\0"
    "Disk full while accessing %1.\0"
    "An attempt was made to access %1 past its end.";

const char* Wording(FileErrorCause cause) {
    const char* text = kWordings;
    for (int i = 0; i < static_cast<int>(cause); ++i) text += strlen(text) + 1;
    return text;
}

}  // namespace

FileErrorCause FileErrorCauseOf(DWORD systemError) {
    for (const auto& known : kCauses)
        if (known.error == systemError) return known.cause;
    return FileErrorCause::kGeneric;
}

CFailure RaiseFileError(FileErrorCause cause, const char* path) {
    return CFailure::Raise(CText(Wording(cause)).Replaced("%1", path));
}
