// libFuzzer target for the SZDD codec (payload/szdd_*.cpp), built with clang++ and
// -fsanitize=fuzzer,address,undefined by tests/fuzz/run_fuzz.cmake.
//
// For every input:
//  1. Both decoders run on it as a compressed file: szdd::ExpandMemory into a buffer of
//     exactly the header's expanded length (skipped above kMaxExpanded, so the fuzzer
//     doesn't run out of memory), and the streaming szdd::Expand through a Reader that
//     hands out the input in chunks of awkward sizes and a Writer that counts the bytes
//     and checks they never pass the header's length. Both must give the same status,
//     the same count and the same bytes; ExpandMemory must leave the rest of its buffer
//     alone, and must refuse a buffer one byte too small.
//  2. Round trip: an input under kMaxRoundTrip bytes is compressed with szdd::Compress,
//     which must fit MaxCompressedSize and expand back (with both decoders) to the input.
// Any disagreement aborts, so libFuzzer records the input as a crash.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "payload/szdd.h"

namespace {

const uint32_t kMaxExpanded = 1u << 20;  // headers claiming more: streaming decoder only
const size_t kMaxRoundTrip = 64 * 1024;
const uint8_t kUntouched = 0xA5;

[[noreturn]] void Fail(const char* what, size_t detail = 0) {
    fprintf(stderr, "szdd_fuzz: %s (%zu)\n", what, detail);
    abort();
}

#define CHECK(cond, what, detail)             \
    do {                                      \
        if (!(cond)) Fail(what, (detail));    \
    } while (0)

// Hands out the data in chunks of a cycling set of sizes, so that items straddle the
// decoder's 4096-byte input buffer at many places.
struct ChunkReader : szdd::Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    unsigned turn = 0;
    ChunkReader(const uint8_t* d, size_t n, unsigned first) : data(d), size(n), turn(first) {}
    long Read(uint8_t* buffer, size_t capacity) override {
        static const size_t kChunks[] = {1, 4096, 3, 2, 5000, 7, 4095, 1, 17, 4097};
        size_t want = kChunks[turn++ % (sizeof kChunks / sizeof kChunks[0])];
        size_t n = size - at;
        if (n > want) n = want;
        if (n > capacity) n = capacity;
        memcpy(buffer, data + at, n);
        at += n;
        return static_cast<long>(n);
    }
};

// Counts the bytes, checks the header's length is never passed, and keeps them when asked.
struct CountingWriter : szdd::Writer {
    uint64_t limit;
    bool keep;
    uint64_t count = 0;
    std::vector<uint8_t> bytes;
    CountingWriter(uint64_t l, bool k) : limit(l), keep(k) {}
    bool Write(const uint8_t* d, size_t n) override {
        CHECK(n > 0, "Expand wrote an empty block", n);
        count += n;
        CHECK(count <= limit, "Expand wrote past the header's length", static_cast<size_t>(count));
        if (keep) bytes.insert(bytes.end(), d, d + n);
        return true;
    }
};

void CheckDecoders(const uint8_t* data, size_t size) {
    szdd::Header header;
    szdd::Status parsed = szdd::ParseHeader(data, size, &header);
    const bool valid = parsed == szdd::Status::kOk;
    const uint64_t limit = valid ? header.expandedLength : 0;
    const bool inMemory = limit <= kMaxExpanded;

    // In memory: exactly the header's length (at least one byte so the pointer is real;
    // ASan catches a write past the length, the marker any write past the produced count).
    std::vector<uint8_t> out;
    uint32_t produced = 0xFFFFFFFFu;
    szdd::Status memory = szdd::Status::kOk;
    if (inMemory) {
        out.assign(static_cast<size_t>(limit) + 1, kUntouched);
        memory = szdd::ExpandMemory(data, size, out.data(), static_cast<size_t>(limit), &produced);
        CHECK(produced <= limit, "ExpandMemory produced more than the header's length", produced);
        for (size_t i = produced; i < out.size(); ++i)
            CHECK(out[i] == kUntouched, "ExpandMemory wrote past what it reports", i);
        if (!valid) {
            CHECK(memory == parsed, "ExpandMemory disagrees with ParseHeader", static_cast<size_t>(memory));
            CHECK(produced == 0, "ExpandMemory produced bytes for a bad header", produced);
        }
        if (memory == szdd::Status::kOk) CHECK(produced == limit, "ExpandMemory: ok but short", produced);
        // One byte too small a buffer is refused before anything is written.
        if (valid && limit > 0) {
            uint32_t small = 0xFFFFFFFFu;
            szdd::Status refused =
                szdd::ExpandMemory(data, size, out.data(), static_cast<size_t>(limit) - 1, &small);
            CHECK(refused == szdd::Status::kWriteError, "ExpandMemory accepted a short buffer",
                  static_cast<size_t>(refused));
            CHECK(small == 0, "ExpandMemory reported output for a short buffer", small);
        }
    }

    // Streaming.
    ChunkReader reader(data, size, static_cast<unsigned>(size % 10));
    CountingWriter writer(limit, inMemory);
    uint32_t streamedCount = 0xFFFFFFFFu;
    szdd::Status streamed = szdd::Expand(reader, writer, &streamedCount);
    if (!valid) {
        CHECK(streamed == parsed, "Expand disagrees with ParseHeader", static_cast<size_t>(streamed));
        CHECK(writer.count == 0, "Expand wrote bytes for a bad header", static_cast<size_t>(writer.count));
    } else {
        CHECK(streamedCount == writer.count, "Expand's count differs from what it wrote", streamedCount);
    }
    if (streamed == szdd::Status::kOk) CHECK(writer.count == limit, "Expand: ok but short", writer.count);

    if (!inMemory) return;
    CHECK(streamed == memory, "the two decoders give different statuses",
          static_cast<size_t>(streamed) * 16 + static_cast<size_t>(memory));
    if (valid) CHECK(streamedCount == produced, "the two decoders give different counts", streamedCount);
    CHECK(writer.bytes.size() == writer.count, "internal: kept bytes", writer.bytes.size());
    CHECK(writer.count == (valid ? produced : 0), "the two decoders give different lengths",
          static_cast<size_t>(writer.count));
    if (writer.count)
        CHECK(memcmp(writer.bytes.data(), out.data(), writer.bytes.size()) == 0,
              "the two decoders give different bytes", writer.bytes.size());
}

void CheckRoundTrip(const uint8_t* data, size_t size) {
    if (size >= kMaxRoundTrip) return;
    const size_t bound = szdd::MaxCompressedSize(size);
    std::vector<uint8_t> packed(bound + 1, kUntouched);
    size_t n = szdd::Compress(data, size, packed.data());
    CHECK(n != 0, "Compress ran out of memory", size);
    CHECK(n <= bound, "Compress wrote more than MaxCompressedSize", n);
    CHECK(packed[bound] == kUntouched, "Compress wrote past MaxCompressedSize", bound);

    szdd::Header header;
    CHECK(szdd::ParseHeader(packed.data(), n, &header) == szdd::Status::kOk, "Compress: bad header", n);
    CHECK(header.expandedLength == size, "Compress: wrong length in the header", header.expandedLength);

    std::vector<uint8_t> back(size + 1, kUntouched);
    uint32_t produced = 0;
    szdd::Status status = szdd::ExpandMemory(packed.data(), n, back.data(), size, &produced);
    CHECK(status == szdd::Status::kOk, "round trip: ExpandMemory failed", static_cast<size_t>(status));
    CHECK(produced == size, "round trip: wrong length", produced);
    CHECK(size == 0 || memcmp(back.data(), data, size) == 0, "round trip: different bytes", size);
    CHECK(back[size] == kUntouched, "round trip: ExpandMemory wrote past the length", size);

    ChunkReader reader(packed.data(), n, static_cast<unsigned>(n % 10));
    CountingWriter writer(size, true);
    status = szdd::Expand(reader, writer);
    CHECK(status == szdd::Status::kOk, "round trip: Expand failed", static_cast<size_t>(status));
    CHECK(writer.bytes.size() == size && (size == 0 || memcmp(writer.bytes.data(), data, size) == 0),
          "round trip: Expand gives different bytes", writer.bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDecoders(data, size);
    CheckRoundTrip(data, size);
    return 0;
}
