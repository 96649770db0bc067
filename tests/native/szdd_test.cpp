// The compressed format: hand-made files with known contents, bad input, and round
// trips through our encoder checked by two independent expanders (libmspack, msexpand).
#include <gtest/gtest.h>
#include <mspack.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "codec/crc32.h"
#include "codec/szdd.h"
#include "codec/szdd_memory.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes File(uint32_t length, Bytes items) {
    Bytes f = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 0x41, 0x00,
               uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    f.resize(f.size() + items.size());  // no insert: GCC 12 warns falsely on its copy
    std::copy(items.begin(), items.end(), f.end() - static_cast<long>(items.size()));
    return f;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Expands into a buffer of exactly the header's length, from a reader that hands out one
// byte at a time so that every item straddles a refill somewhere; `out` gets what was
// written.
szdd::Status Expand(const Bytes& file, Bytes& out) {
    szdd::Header header;
    size_t capacity = szdd::ParseHeader(file.data(), file.size(), &header) == szdd::Status::kOk
                          ? header.expandedLength : 0;
    out.assign(capacity, 0xAA);
    szdd::MemoryReader reader(file.data(), file.size(), 1);
    szdd::MemoryWriter writer(out.data(), out.size());
    szdd::Status status = szdd::Expand(reader, writer);
    out.resize(writer.size());
    return status;
}

TEST(SzddDecode, WorkedExampleOverlappingReference) {
    Bytes out;
    ASSERT_EQ(Expand(File(8, {0x03, 0x41, 0x42, 0xF0, 0xF3}), out), szdd::Status::kOk);
    EXPECT_EQ(out, Text("ABABABAB"));
}

TEST(SzddDecode, ReferencesToUnwrittenPositionsGiveSpaces) {
    Bytes out;
    ASSERT_EQ(Expand(File(5, {0x00, 0x00, 0x02}), out), szdd::Status::kOk);
    EXPECT_EQ(out, Text("     "));
    // A literal, then 18 bytes (field 0x0F) from the ring just ahead of it: spaces.
    ASSERT_EQ(Expand(File(19, {0x01, 'x', 0xF1, 0xFF}), out), szdd::Status::kOk);
    EXPECT_EQ(out, Text("x" + std::string(18, ' ')));
}

TEST(SzddDecode, ReferenceAtTheWritePositionCopiesWhatItHeldBefore) {
    Bytes out;
    // Position 4081 while writing at 4081: the ring still holds its initial spaces there.
    ASSERT_EQ(Expand(File(4, {0x01, 'q', 0xF1, 0xF0}), out), szdd::Status::kOk);
    EXPECT_EQ(out, Text("q   "));
    // After 4096 literals the ring has wrapped: position 4080 is the write position again
    // and holds the first byte written.
    Bytes items;
    std::string expected;
    for (int i = 0; i < 4096; ++i) {
        if (i % 8 == 0) items.push_back(0xFF);
        items.push_back(uint8_t('a' + i % 26));
        expected += char('a' + i % 26);
    }
    items.push_back(0x00);
    items.insert(items.end(), {0xF0, 0xF2});  // 5 bytes from 4080
    expected += expected.substr(0, 5);
    ASSERT_EQ(Expand(File(uint32_t(expected.size()), items), out), szdd::Status::kOk);
    EXPECT_EQ(out, Text(expected));
}

TEST(SzddDecode, LiteralOnlyFileAndUnusedFlagBits) {
    std::string text(83, 'w');
    Bytes items;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i % 8 == 0) items.push_back(0xFF);
        items.push_back(uint8_t(text[i]));
    }
    Bytes file = File(83, items);
    EXPECT_EQ(file.size(), 108u);
    Bytes out;
    ASSERT_EQ(Expand(file, out), szdd::Status::kOk);
    EXPECT_EQ(out, Text(text));
}

TEST(SzddDecode, BadInputIsAnErrorAndNeverWritesPastTheHeaderLength) {
    Bytes out;
    EXPECT_EQ(Expand(Bytes{0x53, 0x5A}, out), szdd::Status::kShortHeader);
    Bytes wrongMagic = File(1, {0x01, 'x'});
    wrongMagic[4] = 0;
    EXPECT_EQ(Expand(wrongMagic, out), szdd::Status::kBadMagic);
    Bytes otherMode = File(1, {0x01, 'x'});
    otherMode[8] = 0x42;
    EXPECT_EQ(Expand(otherMode, out), szdd::Status::kBadMode);
    EXPECT_EQ(Expand(File(5, {0x00, 0x00}), out), szdd::Status::kTruncatedReference);
    EXPECT_EQ(Expand(File(4, {0x00, 0x00, 0x02}), out), szdd::Status::kTooLong);
    EXPECT_EQ(out.size(), 0u) << "a reference that would pass the length writes none of it";
    EXPECT_EQ(Expand(File(1, {0x03, 'a', 'b'}), out), szdd::Status::kTooLong);
    EXPECT_EQ(out, Text("a"));
    EXPECT_EQ(Expand(File(9, {0x03, 0x41, 0x42, 0xF0, 0xF3}), out), szdd::Status::kTooShort);
    EXPECT_EQ(Expand(File(0, {}), out), szdd::Status::kOk);
}

// --- Round trips checked by independent expanders ---------------------------------------

std::string TempPath(const std::string& name) { return testing::TempDir() + "szdd_" + name; }

void Save(const std::string& path, const Bytes& data) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
}
Bytes Load(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

Bytes Compress(const Bytes& data) {
    Bytes packed(szdd::MaxCompressedSize(data.size()));
    packed.resize(szdd::Compress(data.data(), data.size(), packed.data()));
    return packed;
}

Bytes ExpandWithLibmspack(const std::string& in) {
    msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
    msszddd_header* h = d->open(d, const_cast<char*>(in.c_str()));
    Bytes out;
    if (h) {
        std::string path = in + ".mspack";
        if (d->extract(d, h, const_cast<char*>(path.c_str())) == MSPACK_ERR_OK) out = Load(path);
        d->close(d, h);
    }
    mspack_destroy_szdd_decompressor(d);
    return out;
}

Bytes ExpandWithMsexpand(const std::string& in) {
    std::string out = in + ".msexpand";
    EXPECT_EQ(system(("msexpand < '" + in + "' > '" + out + "'").c_str()), 0);
    return Load(out);
}

void CheckRoundTrip(const std::string& name, const Bytes& data) {
    SCOPED_TRACE(name + " (" + std::to_string(data.size()) + " bytes)");
    Bytes packed = Compress(data);
    ASSERT_GE(packed.size(), szdd::kHeaderSize);
    EXPECT_LE(packed.size(), szdd::MaxCompressedSize(data.size()));
    Bytes out;
    ASSERT_EQ(Expand(packed, out), szdd::Status::kOk);
    EXPECT_TRUE(out == data) << "our decoder";
    std::string path = TempPath(name);
    Save(path, packed);
    EXPECT_TRUE(ExpandWithLibmspack(path) == data) << "libmspack";
    EXPECT_TRUE(ExpandWithMsexpand(path) == data) << "msexpand";
    for (const char* suffix : {"", ".mspack", ".msexpand"}) std::remove((path + suffix).c_str());
}

Bytes Random(size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& c : b) c = uint8_t(rng() % alphabet);
    return b;
}

TEST(SzddRoundTrip, EverySmallSizeFromEmptyUp) {
    for (size_t n = 0; n <= 40; ++n) {
        CheckRoundTrip("small" + std::to_string(n), Random(n, unsigned(n), 3));
        CheckRoundTrip("spaces" + std::to_string(n), Bytes(n, ' '));
    }
}

TEST(SzddRoundTrip, RingBoundariesAndLongRuns) {
    for (size_t n : {4095, 4096, 4097, 8192 + 17})
        CheckRoundTrip("text" + std::to_string(n), Random(n, 7, 4));
    CheckRoundTrip("zeros", Bytes(50000, 0));
    Bytes mixed = Random(30000, 3, 256);
    Bytes repeat(mixed.begin(), mixed.begin() + 5000);
    mixed.insert(mixed.end(), repeat.begin(), repeat.end());  // a copy more than a window back
    CheckRoundTrip("mixed", mixed);
}

TEST(SzddRoundTrip, RealFiles) {
    for (const char* path : {"/usr/share/common-licenses/GPL-3", "/usr/bin/ls", "/etc/services"}) {
        Bytes data = Load(path);
        if (data.empty()) continue;
        CheckRoundTrip(std::string(strrchr(path, '/') + 1), data);
    }
}

TEST(SzddEncode, UsesLengthsUpTo18AndTheInitialSpaces) {
    Bytes packed = Compress(Bytes(18, ' '));
    // One flag byte and a single reference of length 18 into the unwritten ring.
    EXPECT_EQ(packed.size(), szdd::kHeaderSize + 3);
    EXPECT_EQ(packed[szdd::kHeaderSize], 0x00);
    EXPECT_EQ(packed[szdd::kHeaderSize + 2] & 0x0F, 0x0F);
}

// The standard check values of CRC-32 (the szdd tool's test compares it with Python's zlib).
TEST(Crc32, StandardCheckValuesAndContinuation) {
    EXPECT_EQ(Crc32("", 0), 0u);
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    const char fox[] = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(Crc32(fox, sizeof fox - 1), 0x414FA339u);
    EXPECT_EQ(Crc32(fox + 10, sizeof fox - 11, Crc32(fox, 10)), 0x414FA339u) << "in two parts";
}

}  // namespace
