#include <stdlib.h>
#include <string.h>

#include "codec/little_endian.h"
#include "codec/szdd.h"

namespace szdd {

namespace {

const unsigned kHashBits = 16;
const unsigned kMaxChain = 256;  // candidates tried per position
const unsigned kLiteralBits = 9;
const unsigned kReferenceBits = 17;

// The text seen by the matcher: the ring's initial spaces, then the input, so that a
// reference may point at ring positions that no output has reached yet.
struct Matcher {
    const uint8_t* text;  // kWindowSize spaces, then the input
    size_t textSize;
    int32_t* head;        // latest position with a given hash of three bytes, or -1
    int32_t* prev;        // the position before it with the same hash

    static unsigned Hash(const uint8_t* p) {
        return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1u << kHashBits) - 1);
    }
    void Insert(size_t at) {
        if (at + 2 >= textSize) return;
        unsigned h = Hash(text + at);
        prev[at] = head[h];
        head[h] = static_cast<int32_t>(at);
    }
    // The longest match for text position `at` within the window; gives its length
    // (0 below the minimum) and its source position.
    unsigned Longest(size_t at, size_t* source) const {
        if (at + kMinMatch > textSize) return 0;
        size_t limit = textSize - at < kMaxMatch ? textSize - at : kMaxMatch;
        unsigned best = 0;
        unsigned tries = kMaxChain;
        for (int32_t c = head[Hash(text + at)]; c >= 0 && tries--; c = prev[c]) {
            size_t candidate = static_cast<size_t>(c);
            if (at - candidate > kWindowSize) break;
            // A candidate that differs at the length to beat cannot be longer.
            if (best && text[candidate + best] != text[at + best]) continue;
            unsigned n = 0;
            while (n < limit && text[candidate + n] == text[at + n]) ++n;
            if (n > best) {
                best = n;
                *source = candidate;
                if (n == limit) break;
            }
        }
        return best >= kMinMatch ? best : 0;
    }
};

class GroupWriter {
public:
    explicit GroupWriter(uint8_t* out) : m_out(out), m_size(0) {}
    void Literal(uint8_t c) {
        Item(true);
        m_out[m_size++] = c;
    }
    void Reference(unsigned position, unsigned length) {
        Item(false);
        m_out[m_size++] = static_cast<uint8_t>(position & 0xFF);
        m_out[m_size++] = static_cast<uint8_t>((position >> 4 & 0xF0) | (length - kMinMatch));
    }
    size_t size() const { return m_size; }

private:
    void Item(bool literal) {
        if (m_bit == 8) {
            m_flag = m_size++;
            m_out[m_flag] = 0;
            m_bit = 0;
        }
        if (literal) m_out[m_flag] |= static_cast<uint8_t>(1u << m_bit);
        ++m_bit;
    }
    uint8_t* m_out;
    size_t m_size;
    size_t m_flag = 0;
    unsigned m_bit = 8;
};

void WriteHeader(uint8_t* out, size_t size) {
    memcpy(out, kMagic, sizeof kMagic);
    out[8] = kModeLzss;
    out[9] = 0;
    StoreLittleEndian32(static_cast<uint32_t>(size), out + 10);
}

}  // namespace

size_t MaxCompressedSize(size_t size) { return kHeaderSize + size + (size + 7) / 8; }

size_t Compress(const uint8_t* in, size_t size, uint8_t* out) {
    const size_t textSize = kWindowSize + size;
    uint8_t* text = static_cast<uint8_t*>(malloc(textSize));
    int32_t* head = static_cast<int32_t*>(malloc(sizeof(int32_t) << kHashBits));
    int32_t* prev = static_cast<int32_t*>(malloc(sizeof(int32_t) * textSize));
    uint8_t* length = static_cast<uint8_t*>(malloc(size + 1));     // chosen item length at each input offset
    uint16_t* source = static_cast<uint16_t*>(malloc(2 * size + 2));  // ring position of a reference
    uint32_t* cost = static_cast<uint32_t*>(malloc(4 * (size + 1)));  // bits from an offset to the end
    size_t written = 0;
    if (text && head && prev && length && source && cost) {
        memset(text, ' ', kWindowSize);
        if (size) memcpy(text + kWindowSize, in, size);
        memset(head, 0xFF, sizeof(int32_t) << kHashBits);
        Matcher matcher{text, textSize, head, prev};
        for (size_t i = 0; i < kWindowSize; ++i) matcher.Insert(i);

        // Longest match at every offset; as all references cost the same, any shorter
        // length of it is as good as any other match of that length.
        for (size_t i = 0; i < size; ++i) {
            size_t from = 0;
            length[i] = static_cast<uint8_t>(matcher.Longest(kWindowSize + i, &from));
            source[i] = static_cast<uint16_t>((from - 16) & (kWindowSize - 1));
            matcher.Insert(kWindowSize + i);
        }
        // Cheapest way to the end from every offset, then the items along it.
        cost[size] = 0;
        for (size_t i = size; i-- > 0;) {
            uint32_t best = kLiteralBits + cost[i + 1];
            unsigned choice = 1;
            for (unsigned n = kMinMatch; n <= length[i]; ++n) {
                uint32_t c = kReferenceBits + cost[i + n];
                if (c <= best) best = c, choice = n;
            }
            cost[i] = best;
            length[i] = static_cast<uint8_t>(choice);
        }
        WriteHeader(out, size);
        GroupWriter groups(out + kHeaderSize);
        for (size_t i = 0; i < size; i += length[i]) {
            if (length[i] == 1)
                groups.Literal(in[i]);
            else
                groups.Reference(source[i], length[i]);
        }
        written = kHeaderSize + groups.size();
    }
    free(text);
    free(head);
    free(prev);
    free(length);
    free(source);
    free(cost);
    return written;
}

}  // namespace szdd
