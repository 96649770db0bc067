#include "framework/file_error.h"

#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

// The system's errors by the text that reports them; any other gets the generic text. A
// table rather than a switch: the program keeps no jump table of addresses for it.
const struct {
    WORD error;
    WORD textId;
} kTexts[] = {
    {ERROR_FILE_NOT_FOUND, IDS_FILE_ERROR_NOT_FOUND},
    {ERROR_PATH_NOT_FOUND, IDS_FILE_ERROR_BAD_PATH},
    {ERROR_INVALID_DRIVE, IDS_FILE_ERROR_BAD_PATH},
    {ERROR_BAD_PATHNAME, IDS_FILE_ERROR_BAD_PATH},
    {ERROR_INVALID_NAME, IDS_FILE_ERROR_BAD_PATH},
    {ERROR_FILENAME_EXCED_RANGE, IDS_FILE_ERROR_BAD_PATH},
    {ERROR_TOO_MANY_OPEN_FILES, IDS_FILE_ERROR_TOO_MANY_OPEN},
    {ERROR_ACCESS_DENIED, IDS_FILE_ERROR_ACCESS_DENIED},
    {ERROR_WRITE_PROTECT, IDS_FILE_ERROR_ACCESS_DENIED},
    {ERROR_INVALID_HANDLE, IDS_FILE_ERROR_BAD_HANDLE},
    {ERROR_CANNOT_MAKE, IDS_FILE_ERROR_DIRECTORY_FULL},
    {ERROR_WRITE_FAULT, IDS_FILE_ERROR_HARDWARE},
    {ERROR_READ_FAULT, IDS_FILE_ERROR_HARDWARE},
    {ERROR_GEN_FAILURE, IDS_FILE_ERROR_HARDWARE},
    {ERROR_CRC, IDS_FILE_ERROR_HARDWARE},
    {ERROR_SECTOR_NOT_FOUND, IDS_FILE_ERROR_HARDWARE},
    {ERROR_SHARING_VIOLATION, IDS_FILE_ERROR_SHARING},
    {ERROR_LOCK_VIOLATION, IDS_FILE_ERROR_LOCKING},
    {ERROR_DISK_FULL, IDS_FILE_ERROR_DISK_FULL},
    {ERROR_HANDLE_DISK_FULL, IDS_FILE_ERROR_DISK_FULL},
    {ERROR_HANDLE_EOF, IDS_FILE_ERROR_END_OF_FILE},
};

}  // namespace

CFailure RaiseFileError(DWORD systemError, const char* path) {
    UINT textId = IDS_FILE_ERROR_GENERIC;
    for (const auto& known : kTexts)
        if (known.error == systemError) textId = known.textId;
    return CFailure::Raise(FormatText(textId, path));
}
