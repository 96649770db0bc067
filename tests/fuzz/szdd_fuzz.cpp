// libFuzzer target for the SZDD codec (codec/szdd_*.cpp), built with clang++ and
// -fsanitize=fuzzer,address,undefined by tests/fuzz/run_fuzz.cmake.
//
// For every input:
//  1. The decoder szdd::Expand runs on it as a compressed file, into a MemoryWriter over a
//     buffer of exactly the header's length (or of the most that the input can expand to,
//     when the header claims more), so that ASan sees any write past it. It must agree
//     with ParseHeader on a bad header and then write nothing; otherwise report what it
//     wrote, never more than the header's length (the writer never fails), and all of it
//     when it says ok. A reader that hands out the input in tiny pieces must give the same
//     status and bytes as one that hands it out whole. A file that expands fine must give
//     kWriteError into a writer one byte too small, which never stores past its capacity.
//  2. Round trip: an input under kMaxRoundTrip bytes is compressed with szdd::Compress,
//     which must fit MaxCompressedSize and expand back to the input.
// Any failed check aborts, so libFuzzer records the input as a crash.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "codec/szdd.h"
#include "codec/szdd_memory.h"

namespace {

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

struct Run {
    szdd::Status status;
    uint32_t produced = 0xFFFFFFFFu;
    std::vector<uint8_t> out;  // exactly the writer's capacity, then cut to what it stored
};

// Expands `data` into a writer of `capacity` bytes, from a reader of pieces of at most
// `piece` bytes (0: as much as the decoder asks for).
Run ExpandInto(const uint8_t* data, size_t size, size_t capacity, size_t piece) {
    Run run;
    run.out.assign(capacity, kUntouched);
    szdd::MemoryReader reader(data, size, piece);
    szdd::MemoryWriter writer(run.out.data(), run.out.size());
    run.status = szdd::Expand(reader, writer, &run.produced);
    CHECK(writer.size() <= capacity, "the writer stored past its capacity", writer.size());
    run.out.resize(writer.size());
    return run;
}

void CheckDecoder(const uint8_t* data, size_t size) {
    szdd::Header header;
    szdd::Status parsed = szdd::ParseHeader(data, size, &header);
    const bool valid = parsed == szdd::Status::kOk;
    const uint64_t limit = valid ? header.expandedLength : 0;
    // Every two bytes of data expand to at most 18, so no output is longer than 9 bytes a
    // byte of input: a buffer that large stands in for a header's claim beyond it.
    const size_t capacity = static_cast<size_t>(limit < 9 * static_cast<uint64_t>(size) ? limit : 9 * size);

    Run whole = ExpandInto(data, size, capacity, 0);
    if (!valid) {
        CHECK(whole.status == parsed, "Expand disagrees with ParseHeader", static_cast<size_t>(whole.status));
        CHECK(whole.out.empty(), "Expand wrote bytes for a bad header", whole.out.size());
    } else {
        CHECK(whole.status != szdd::Status::kWriteError, "Expand overran a writer of the header's length",
              static_cast<size_t>(whole.status));
        CHECK(whole.produced <= limit, "Expand produced more than the header's length", whole.produced);
        CHECK(whole.produced == whole.out.size(), "Expand's count differs from what it wrote", whole.produced);
    }
    if (whole.status == szdd::Status::kOk) CHECK(whole.produced == limit, "Expand: ok but short", whole.produced);

    // Tiny pieces of 1 to 7 bytes, a different size for different inputs.
    Run pieces = ExpandInto(data, size, capacity, 1 + size % 7);
    CHECK(pieces.status == whole.status, "pieces and whole give different statuses",
          static_cast<size_t>(pieces.status) * 16 + static_cast<size_t>(whole.status));
    if (valid) CHECK(pieces.produced == whole.produced, "pieces and whole give different counts", pieces.produced);
    CHECK(pieces.out == whole.out, "pieces and whole give different bytes", pieces.out.size());

    if (whole.status == szdd::Status::kOk && limit > 0) {
        Run small = ExpandInto(data, size, static_cast<size_t>(limit) - 1, 0);
        CHECK(small.status == szdd::Status::kWriteError, "a writer one byte too small did not fail",
              static_cast<size_t>(small.status));
    }
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

    Run back = ExpandInto(packed.data(), n, size, 1 + n % 7);
    CHECK(back.status == szdd::Status::kOk, "round trip: Expand failed", static_cast<size_t>(back.status));
    CHECK(back.produced == size, "round trip: wrong length", back.produced);
    CHECK(back.out.size() == size && (size == 0 || memcmp(back.out.data(), data, size) == 0),
          "round trip: different bytes", back.out.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDecoder(data, size);
    CheckRoundTrip(data, size);
    return 0;
}
