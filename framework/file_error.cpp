#include "framework/file_error.h"

FileErrorCause FileErrorCauseOf(DWORD systemError) {
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND: return FileErrorCause::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return FileErrorCause::kBadPath;
    case ERROR_TOO_MANY_OPEN_FILES: return FileErrorCause::kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return FileErrorCause::kAccessDenied;
    case ERROR_INVALID_HANDLE: return FileErrorCause::kInvalidFile;
    case ERROR_CANNOT_MAKE: return FileErrorCause::kDirectoryFull;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND: return FileErrorCause::kHardIo;
    case ERROR_SHARING_VIOLATION: return FileErrorCause::kSharingViolation;
    case ERROR_LOCK_VIOLATION: return FileErrorCause::kLockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileErrorCause::kDiskFull;
    case ERROR_HANDLE_EOF: return FileErrorCause::kEndOfFile;
    default: return FileErrorCause::kGeneric;
    }
}

namespace {
const char* Wording(FileErrorCause cause) {
    switch (cause) {
    case FileErrorCause::kFileNotFound: return "%1 was not found.";
    case FileErrorCause::kBadPath: return "%1 contains an incorrect path.";
    case FileErrorCause::kTooManyOpenFiles: return "%1 could not be opened because there are too many open files.";
    case FileErrorCause::kAccessDenied: return "Access to %1 was denied.";
    case FileErrorCause::kInvalidFile: return "An incorrect file handle was associated with %1.";
    case FileErrorCause::kDirectoryFull: return "%1 could not be created because the directory is full.";
    case FileErrorCause::kHardIo: return "A hardware I/O error was reported while accessing %1.";
    case FileErrorCause::kSharingViolation: return "A sharing violation occurred while accessing %1.";
    case FileErrorCause::kLockViolation: return "A locking violation occurred while accessing %1.";
    case FileErrorCause::kDiskFull: return "Disk full while accessing %1.";
    case FileErrorCause::kEndOfFile: return "An attempt was made to access %1 past its end.";
    case FileErrorCause::kGeneric: break;
    }
    return "An unexpected error occurred while accessing %1.";
}
}  // namespace

CFailure RaiseFileError(FileErrorCause cause, const char* path) {
    return CFailure::Raise(CText(Wording(cause)).Replaced("%1", path));
}
