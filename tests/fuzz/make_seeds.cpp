// Writes the fuzzer's seed corpus into the folder given as the only argument: small
// valid files made by our encoder, hand-made edge cases of the format, and a few raw
// (uncompressed) inputs for the round-trip property. Run at test time, so no binary
// seeds live in the source tree.
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "codec/szdd.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes File(uint32_t length, const Bytes& items, uint8_t mode = szdd::kModeLzss) {
    Bytes f(szdd::kMagic, szdd::kMagic + 8);
    f.push_back(mode);
    f.push_back(0);
    for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(length >> (8 * i)));
    f.insert(f.end(), items.begin(), items.end());
    return f;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Packed(const Bytes& in) {
    Bytes out(szdd::MaxCompressedSize(in.size()));
    out.resize(szdd::Compress(in.data(), in.size(), out.data()));
    return out;
}

// A small deterministic generator (no dependence on the C++ library's distributions).
struct Lcg {
    uint32_t s;
    uint8_t Next() { return static_cast<uint8_t>((s = s * 1103515245u + 12345u) >> 16); }
};

bool Save(const std::string& dir, const std::string& name, const Bytes& b) {
    std::string path = dir + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return perror(path.c_str()), false;
    bool ok = (b.empty() || fwrite(b.data(), 1, b.size(), f) == b.size());
    return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::pair<std::string, Bytes>> seeds;

    // Valid files from our encoder.
    Bytes text = Text(
        "The compressed format of the payload files: a 14-byte header, then groups of one flag "
        "byte and up to eight items, each a literal byte or a two-byte reference to an absolute "
        "position of a 4096-byte ring that starts filled with spaces.\n");
    Bytes longText;
    while (longText.size() < 6000) longText.insert(longText.end(), text.begin(), text.end());
    Bytes noise(5000);
    Lcg lcg{2024};
    for (auto& b : noise) b = lcg.Next();
    Bytes mixed(9000);
    for (size_t i = 0; i < mixed.size(); ++i) mixed[i] = i % 700 < 350 ? lcg.Next() % 4 : ' ' + i % 7;
    seeds.push_back({"enc-empty", Packed({})});
    seeds.push_back({"enc-one", Packed(Text("A"))});
    seeds.push_back({"enc-abab", Packed(Text("ABABABAB"))});
    seeds.push_back({"enc-spaces", Packed(Bytes(300, ' '))});
    seeds.push_back({"enc-zeros", Packed(Bytes(5000, 0))});
    seeds.push_back({"enc-text", Packed(text)});
    seeds.push_back({"enc-longtext", Packed(longText)});  // wraps the ring
    seeds.push_back({"enc-noise", Packed(noise)});
    seeds.push_back({"enc-mixed", Packed(mixed)});

    // Hand-made edge cases (see tests/native/szdd_test.cpp for the worked examples).
    seeds.push_back({"edge-empty-input", {}});
    Bytes shortHeader = File(0, {});
    shortHeader.pop_back();
    seeds.push_back({"edge-short-header", shortHeader});
    Bytes badMagic = File(4, {0x0F, 'a', 'b', 'c', 'd'});
    badMagic[3] = 'E';
    seeds.push_back({"edge-bad-magic", badMagic});
    seeds.push_back({"edge-bad-mode", File(4, {0x0F, 'a', 'b', 'c', 'd'}, 0x42)});
    seeds.push_back({"edge-zero-length", File(0, {})});
    seeds.push_back({"edge-zero-length-flags-only", File(0, {0xFF})});
    seeds.push_back({"edge-overlap", File(8, {0x03, 0x41, 0x42, 0xF0, 0xF3})});
    seeds.push_back({"edge-unwritten-spaces", File(19, {0x01, 'x', 0xF1, 0xFF})});
    seeds.push_back({"edge-at-write-position", File(4, {0x01, 'q', 0xF1, 0xF0})});
    seeds.push_back({"edge-truncated-reference", File(8, {0x00, 0x12})});
    seeds.push_back({"edge-too-long-literal", File(1, {0xFF, 'a', 'b'})});
    seeds.push_back({"edge-too-long-reference", File(5, {0x00, 0x00, 0x0F})});
    seeds.push_back({"edge-too-short", File(100, {0xFF, 'a', 'b', 'c'})});
    seeds.push_back({"edge-huge-length", File(0xFFFFFFFFu, {0x00, 0x00, 0x0F, 0x00, 0x0F})});
    seeds.push_back({"edge-2mb-length", File(2u << 20, {0x00, 0x00, 0x0F})});
    Bytes manyRefs;  // 256 groups of eight 18-byte references: 36,864 bytes of output
    for (int g = 0; g < 256; ++g) {
        manyRefs.push_back(0x00);
        for (int i = 0; i < 8; ++i) manyRefs.push_back(static_cast<uint8_t>(g * 8 + i)), manyRefs.push_back(0x0F | (i << 4));
    }
    seeds.push_back({"edge-many-references", File(256 * 8 * 18, manyRefs)});

    // Raw inputs, mostly for the round trip.
    seeds.push_back({"raw-text", text});
    seeds.push_back({"raw-noise", Bytes(noise.begin(), noise.begin() + 600)});

    for (const auto& s : seeds)
        if (!Save(dir, s.first, s.second)) return 1;
    printf("wrote %zu seeds to %s\n", seeds.size(), dir.c_str());
    return 0;
}
