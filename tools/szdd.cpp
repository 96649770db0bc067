// szdd: compresses files into the payload's compressed format and expands them again.
//   szdd compress IN OUT
//   szdd expand IN OUT
//   szdd checksums OUT NAME=FILE...
//                           for each FILE: NAME, a zero byte and FILE's CRC-32 as four
//                           bytes, least significant first
// OUT is written under a temporary name and renamed only when everything succeeded, so a
// failure never leaves a partial OUT behind. Exit status 0 on success, 1 on bad input or
// an I/O error, 2 on a usage error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "codec/crc32.h"
#include "codec/szdd.h"

namespace {

class FileReader : public szdd::Reader {
public:
    explicit FileReader(FILE* f) : m_file(f) {}
    long Read(uint8_t* buffer, size_t capacity) override {
        size_t n = fread(buffer, 1, capacity, m_file);
        return ferror(m_file) ? -1 : static_cast<long>(n);
    }

private:
    FILE* m_file;
};

class FileWriter : public szdd::Writer {
public:
    explicit FileWriter(FILE* f) : m_file(f) {}
    bool Write(const uint8_t* data, size_t size) override { return fwrite(data, 1, size, m_file) == size; }

private:
    FILE* m_file;
};

bool ReadAll(const char* path, std::vector<uint8_t>& data, std::string& error) {
    FILE* f = fopen(path, "rb");
    if (!f) return error = strerror(errno), false;
    uint8_t buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) data.insert(data.end(), buffer, buffer + n);
    bool ok = !ferror(f);
    fclose(f);
    if (!ok) error = "read error";
    return ok;
}

// Runs `produce` on a temporary file beside `out` and renames it to `out` on success.
template <class Produce>
bool WriteAtomically(const char* out, Produce produce, std::string& error) {
    std::string partial = std::string(out) + ".partial";
    FILE* f = fopen(partial.c_str(), "wb");
    if (!f) return error = std::string(out) + ": " + strerror(errno), false;
    bool ok = produce(f, error);
    if (fclose(f) != 0 && ok) ok = false, error = std::string(out) + ": " + strerror(errno);
    if (ok && rename(partial.c_str(), out) != 0) ok = false, error = std::string(out) + ": " + strerror(errno);
    if (!ok) remove(partial.c_str());
    return ok;
}

bool Compress(const char* in, const char* out, std::string& error) {
    std::vector<uint8_t> data;
    if (!ReadAll(in, data, error)) return error = std::string(in) + ": " + error, false;
    if (data.size() > 0xFFFFFFFFu) return error = std::string(in) + ": larger than 4 GB", false;
    std::vector<uint8_t> packed(szdd::MaxCompressedSize(data.size()));
    size_t n = szdd::Compress(data.data(), data.size(), packed.data());
    if (n == 0) return error = "out of memory", false;
    return WriteAtomically(out, [&](FILE* f, std::string& e) {
        if (fwrite(packed.data(), 1, n, f) == n) return true;
        e = std::string(out) + ": write error";
        return false;
    }, error);
}

bool Expand(const char* in, const char* out, std::string& error) {
    FILE* source = fopen(in, "rb");
    if (!source) return error = std::string(in) + ": " + strerror(errno), false;
    bool ok = WriteAtomically(out, [&](FILE* f, std::string& e) {
        FileReader reader(source);
        FileWriter writer(f);
        szdd::Status status = szdd::Expand(reader, writer);
        if (status == szdd::Status::kOk) return true;
        e = std::string(status == szdd::Status::kWriteError ? out : in) + ": " + szdd::Describe(status);
        return false;
    }, error);
    fclose(source);
    return ok;
}

bool Checksums(int count, char** entries, const char* out, std::string& error) {
    std::vector<uint8_t> table;
    for (int i = 0; i < count; ++i) {
        const char* equals = strchr(entries[i], '=');
        if (!equals || equals == entries[i]) return error = std::string(entries[i]) + ": not NAME=FILE", false;
        std::vector<uint8_t> data;
        if (!ReadAll(equals + 1, data, error)) return error = std::string(equals + 1) + ": " + error, false;
        uint32_t crc = Crc32(data.data(), data.size());
        table.insert(table.end(), reinterpret_cast<const uint8_t*>(entries[i]), reinterpret_cast<const uint8_t*>(equals));
        table.push_back(0);
        for (int shift = 0; shift < 32; shift += 8) table.push_back(uint8_t(crc >> shift));
    }
    return WriteAtomically(out, [&](FILE* f, std::string& e) {
        if (fwrite(table.data(), 1, table.size(), f) == table.size()) return true;
        e = std::string(out) + ": write error";
        return false;
    }, error);
}

}  // namespace

int main(int argc, char** argv) {
    using Command = bool (*)(const char*, const char*, std::string&);
    Command command = nullptr;
    if (argc == 4 && strcmp(argv[1], "compress") == 0) command = Compress;
    if (argc == 4 && strcmp(argv[1], "expand") == 0) command = Expand;
    bool checksums = argc >= 3 && strcmp(argv[1], "checksums") == 0;
    if (!command && !checksums) {
        fprintf(stderr, "usage: szdd compress IN OUT\n       szdd expand IN OUT\n"
                        "       szdd checksums OUT NAME=FILE...\n");
        return 2;
    }
    std::string error;
    bool ok = checksums ? Checksums(argc - 3, argv + 3, argv[2], error) : command(argv[2], argv[3], error);
    if (!ok) {
        fprintf(stderr, "szdd: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
