#include <string.h>

#include "codec/little_endian.h"
#include "codec/szdd.h"

namespace szdd {

const char* Describe(Status status) {
    switch (status) {
    case Status::kOk: return "ok";
    case Status::kShortHeader: return "the file is shorter than the 14-byte header";
    case Status::kBadMagic: return "the file is not in the SZDD compressed format (wrong magic)";
    case Status::kBadMode: return "the file uses a compression mode other than 0x41";
    case Status::kTruncatedReference: return "the compressed data ends inside a back-reference";
    case Status::kTooLong: return "the data expands to more bytes than the header says";
    case Status::kTooShort: return "the data expands to fewer bytes than the header says";
    case Status::kReadError: return "the compressed file could not be read";
    case Status::kWriteError: return "the expanded data could not be written";
    }
    return "unknown error";
}

Status ParseHeader(const uint8_t* data, size_t size, Header* header) {
    if (size < kHeaderSize) return Status::kShortHeader;
    if (memcmp(data, kMagic, sizeof kMagic) != 0) return Status::kBadMagic;
    header->mode = data[8];
    header->lastNameChar = data[9];
    header->expandedLength = LoadLittleEndian32(data + 10);
    return header->mode == kModeLzss ? Status::kOk : Status::kBadMode;
}

namespace {

// Buffered byte input over a Reader.
class Input {
public:
    explicit Input(Reader& reader) : m_reader(reader) {}
    // The next byte, -1 at the end of the data, -2 on a read error.
    int Next() {
        if (m_at == m_end && !Refill()) return m_failed ? -2 : -1;
        return m_buffer[m_at++];
    }
    size_t Take(uint8_t* out, size_t n) {
        size_t got = 0;
        for (int c; got < n && (c = Next()) >= 0;) out[got++] = static_cast<uint8_t>(c);
        return got;
    }
    bool Failed() const { return m_failed; }

private:
    bool Refill() {
        if (m_failed) return false;
        long n = m_reader.Read(m_buffer, sizeof m_buffer);
        if (n < 0) m_failed = true;
        m_at = 0;
        m_end = n > 0 ? static_cast<size_t>(n) : 0;
        return m_end > 0;
    }
    Reader& m_reader;
    uint8_t m_buffer[4096];
    size_t m_at = 0, m_end = 0;
    bool m_failed = false;
};

// The ring and the buffered output of the streaming decoder.
class Output {
public:
    Output(Writer& writer, uint32_t limit) : m_writer(writer), m_limit(limit) { memset(m_ring, ' ', sizeof m_ring); }
    // Stores one byte; false once the header's length is passed or a write failed.
    bool Put(uint8_t c) {
        if (m_total == m_limit) {
            m_status = Status::kTooLong;
            return false;
        }
        m_ring[m_write] = c;
        m_write = (m_write + 1) & (kWindowSize - 1);
        m_buffer[m_used++] = c;
        ++m_total;
        return m_used < sizeof m_buffer || Flush();
    }
    uint8_t At(unsigned position) const { return m_ring[position]; }
    // False, and nothing stored, when `n` more bytes would pass the header's length.
    bool Fits(unsigned n) {
        if (n <= m_limit - m_total) return true;
        m_status = Status::kTooLong;
        return false;
    }
    bool Flush() {
        if (m_used && !m_writer.Write(m_buffer, m_used)) m_status = Status::kWriteError;
        m_used = 0;
        return m_status == Status::kOk;
    }
    Status status() const { return m_status; }
    uint32_t total() const { return m_total; }

private:
    Writer& m_writer;
    uint32_t m_limit;
    uint8_t m_ring[kWindowSize];
    unsigned m_write = kFirstWritePosition;
    uint8_t m_buffer[4096];
    size_t m_used = 0;
    uint32_t m_total = 0;
    Status m_status = Status::kOk;
};

// Decodes the items after the header; the result is in `out`'s status unless the data
// itself is at fault.
Status DecodeItems(Input& in, Output& out) {
    for (int flags; (flags = in.Next()) >= 0;) {
        for (int bit = 0; bit < 8; ++bit, flags >>= 1) {
            int b0 = in.Next();
            if (b0 < 0) break;
            if (flags & 1) {
                if (!out.Put(static_cast<uint8_t>(b0))) return out.status();
                continue;
            }
            int b1 = in.Next();
            if (b1 < 0) return in.Failed() ? Status::kReadError : Status::kTruncatedReference;
            unsigned position = static_cast<unsigned>(b0) | (static_cast<unsigned>(b1) & 0xF0) << 4;
            unsigned length = (static_cast<unsigned>(b1) & 0x0F) + kMinMatch;
            if (!out.Fits(length)) return out.status();
            for (unsigned k = 0; k < length; ++k) {  // one byte after another: overlaps repeat
                if (!out.Put(out.At(position))) return out.status();
                position = (position + 1) & (kWindowSize - 1);
            }
        }
    }
    return in.Failed() ? Status::kReadError : Status::kOk;
}

}  // namespace

Status Expand(Reader& reader, Writer& writer, uint32_t* produced) {
    Input in(reader);
    uint8_t raw[kHeaderSize];
    size_t got = in.Take(raw, kHeaderSize);
    if (in.Failed()) return Status::kReadError;
    Header header;
    Status status = ParseHeader(raw, got, &header);
    if (status != Status::kOk) return status;

    Output out(writer, header.expandedLength);
    status = DecodeItems(in, out);
    bool flushed = out.Flush();
    if (produced) *produced = out.total();
    if (status != Status::kOk) return status;
    if (!flushed) return Status::kWriteError;
    return out.total() == header.expandedLength ? Status::kOk : Status::kTooShort;
}

}  // namespace szdd
