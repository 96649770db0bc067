// Numbers kept least significant byte first, as the compressed format's header and the
// build's table of checksums hold them.
#pragma once
#include <stdint.h>

inline uint32_t LoadLittleEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

inline void StoreLittleEndian32(uint32_t value, uint8_t* p) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}
