// CRC-32, the checksum of zip, gzip and PNG (reflected polynomial 0xEDB88320), which the
// build records for every packed payload entry so that the program can tell an entry that
// was damaged after the build (on disk, in a copy, by a broken download) before using it.
#pragma once
#include <stddef.h>
#include <stdint.h>

// The checksum of `size` bytes; `crc` continues an earlier one (0 to start).
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
