// The compressed format of the payload files ("SZDD"): a 14-byte header, then groups of
// one flag byte and up to eight items, each a literal byte or a two-byte reference to an
// absolute position of a 4096-byte ring that starts filled with spaces.
//
// Portable C++ without the standard library's containers: the codec reads and writes
// through the small interfaces below, so the same code runs on memory and on files.
//
// What the decoder calls an error (each leaves no more output than the header's length):
// a header shorter than 14 bytes, a wrong magic, a mode other than 0x41, data that ends
// after the first byte of a reference, and data whose output is longer or shorter than
// the header's length.
#pragma once
#include <stddef.h>
#include <stdint.h>

namespace szdd {

const size_t kHeaderSize = 14;
const uint8_t kMagic[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
const uint8_t kModeLzss = 0x41;
const unsigned kWindowSize = 4096;
const unsigned kFirstWritePosition = kWindowSize - 16;
const unsigned kMinMatch = 3;
const unsigned kMaxMatch = 18;

enum class Status {
    kOk,
    kShortHeader,
    kBadMagic,
    kBadMode,
    kTruncatedReference,
    kTooLong,   // the data expands past the header's length
    kTooShort,  // the data ends before the header's length
    kReadError,
    kWriteError,
};

// A clear English text for a status, for messages of the tools.
const char* Describe(Status status);

struct Header {
    uint8_t mode = 0;
    uint8_t lastNameChar = 0;
    uint32_t expandedLength = 0;
};

Status ParseHeader(const uint8_t* data, size_t size, Header* header);

// Where compressed bytes come from: fills up to `capacity` bytes, gives the count
// (0 at the end), or -1 on a read error.
class Reader {
public:
    virtual long Read(uint8_t* buffer, size_t capacity) = 0;

protected:
    ~Reader() = default;
};

// Where expanded bytes go: false on a write error.
class Writer {
public:
    virtual bool Write(const uint8_t* data, size_t size) = 0;

protected:
    ~Writer() = default;
};

// Streams from `in` to `out` with fixed buffers (the ring and one buffer each way); the
// one decoder of the format, on files and, through codec/szdd_memory.h, on memory.
// `produced`, when given, receives the number of bytes expanded (on a write error, the
// last of them may not have reached `out`); it is left alone when the header is at fault.
Status Expand(Reader& in, Writer& out, uint32_t* produced = nullptr);

// The largest compressed size of `size` input bytes: every item a literal.
size_t MaxCompressedSize(size_t size);

// Compresses `size` bytes into `out` (at least MaxCompressedSize bytes) and gives the
// compressed size. The parse is optimal for the format: every literal costs nine bits
// and every reference seventeen, whatever its length. Returns 0 if memory ran out.
size_t Compress(const uint8_t* in, size_t size, uint8_t* out);

}  // namespace szdd
