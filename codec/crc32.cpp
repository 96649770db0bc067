#include "codec/crc32.h"

namespace {

// The checksum of every byte value, made on first use: the file carries no table.
// Only one thread ever checks the payload.
const uint32_t* Table() {
    static uint32_t table[256];
    if (!table[1]) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            table[n] = c;
        }
    }
    return table;
}

}  // namespace

// A byte at a time through the table: eight times faster than bit by bit, which told in
// the install time of a large payload.
uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
    const uint32_t* table = Table();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}
