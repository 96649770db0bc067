// The texts of file errors that a command raises: the cause, worded for the user, with
// the full path of the file concerned.
#pragma once
#include <windows.h>

#include "framework/failure.h"

enum class FileErrorCause : unsigned char {
    kGeneric,
    kFileNotFound,
    kBadPath,
    kTooManyOpenFiles,
    kAccessDenied,
    kInvalidFile,
    kDirectoryFull,
    kHardIo,
    kSharingViolation,
    kLockViolation,
    kDiskFull,
    kEndOfFile,
};

FileErrorCause FileErrorCauseOf(DWORD systemError);
// The failure to raise for `cause` on the file at `path`.
CFailure RaiseFileError(FileErrorCause cause, const char* path);
