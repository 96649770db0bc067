// The codec's Reader and Writer over bytes in memory, for the tests, the fuzzer and the
// benchmark (the product itself expands through the system and never links these).
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "codec/szdd.h"

namespace szdd {

// Hands out `size` bytes from `data`. With a `piece` other than 0 no read gives more than
// `piece` bytes, so that items fall across the decoder's refills at many places.
class MemoryReader final : public Reader {
public:
    MemoryReader(const uint8_t* data, size_t size, size_t piece = 0) : m_data(data), m_size(size), m_piece(piece) {}
    long Read(uint8_t* buffer, size_t capacity) override {
        size_t n = m_size - m_at;
        if (n > capacity) n = capacity;
        if (m_piece && n > m_piece) n = m_piece;
        if (n) memcpy(buffer, m_data + m_at, n);
        m_at += n;
        return static_cast<long>(n);
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_piece;
    size_t m_at = 0;
};

// Fills a buffer of `capacity` bytes. A write that would pass the capacity fails and
// stores none of its bytes, as a full disk would.
class MemoryWriter final : public Writer {
public:
    MemoryWriter(uint8_t* data, size_t capacity) : m_data(data), m_capacity(capacity) {}
    bool Write(const uint8_t* data, size_t size) override {
        if (size > m_capacity - m_size) return false;
        if (size) memcpy(m_data + m_size, data, size);
        m_size += size;
        return true;
    }
    // The bytes stored so far.
    size_t size() const { return m_size; }

private:
    uint8_t* m_data;
    size_t m_capacity;
    size_t m_size = 0;
};

}  // namespace szdd
