// Benchmark of the SZDD codec (codec/szdd.h) against the reference implementations on
// this machine, over a corpus of files given on the command line:
//
//   (a) decoding throughput, memory to memory: szdd::Expand over the memory reader and
//       writer (codec/szdd_memory.h) versus libmspack's SZDD decompressor running on an
//       in-memory mspack_system (no disk I/O), both expanding the same bytes (our
//       encoder's output); MB/s of output, median of repeated runs;
//   (b) compressed size: szdd::Compress versus the `mscompress` command (files under 16
//       bytes are left out of that comparison: mscompress is unreliable on them);
//   (c) encoding throughput of szdd::Compress, MB/s of input.
//
// Along the way it checks that our output expands back to the input (with ours and with
// libmspack), and that ours expands mscompress's output back to the input.
//
//   szdd_bench [--min-time=SECONDS] [--no-mscompress] [--group=NAME] FILE... [--group=NAME] FILE...
//
// --group names the files after it (e.g. text, html, exe, random) for subtotals. Prints a
// Markdown report; exit status 1 if a correctness check failed. MB means 10^6 bytes.
#include <errno.h>
#include <fcntl.h>
#include <mspack.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "codec/szdd.h"
#include "codec/szdd_memory.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const size_t kMscompressMinSize = 16;

// ---------------------------------------------------------------------------------------
// An mspack_system over memory. A "file name" handed to libmspack is the address of a
// MemFile; open() gives a handle with its own position onto that buffer.

struct MemFile {
    uint8_t* data = nullptr;
    size_t size = 0;      // bytes held
    size_t capacity = 0;  // bytes allocated (writable files grow on demand)
    bool owned = false;   // data was allocated by write() and is freed by Release()
    void Release() {
        if (owned) free(data);
        *this = MemFile();
    }
};

struct MemHandle {  // what libmspack calls a struct mspack_file
    MemFile* file;
    size_t position;
};

mspack_file* MemOpen(mspack_system*, const char* filename, int mode) {
    MemFile* file = reinterpret_cast<MemFile*>(const_cast<char*>(filename));
    if (!file) return nullptr;
    size_t position = 0;
    switch (mode) {
    case MSPACK_SYS_OPEN_READ:
    case MSPACK_SYS_OPEN_UPDATE: break;
    case MSPACK_SYS_OPEN_WRITE: file->size = 0; break;
    case MSPACK_SYS_OPEN_APPEND: position = file->size; break;
    default: return nullptr;
    }
    MemHandle* h = static_cast<MemHandle*>(malloc(sizeof(MemHandle)));
    if (!h) return nullptr;
    h->file = file;
    h->position = position;
    return reinterpret_cast<mspack_file*>(h);
}

void MemClose(mspack_file* f) { free(f); }

int MemRead(mspack_file* f, void* buffer, int bytes) {
    MemHandle* h = reinterpret_cast<MemHandle*>(f);
    if (bytes < 0) return -1;
    size_t left = h->position < h->file->size ? h->file->size - h->position : 0;
    size_t n = std::min(left, static_cast<size_t>(bytes));
    memcpy(buffer, h->file->data + h->position, n);
    h->position += n;
    return static_cast<int>(n);
}

int MemWrite(mspack_file* f, void* buffer, int bytes) {
    MemHandle* h = reinterpret_cast<MemHandle*>(f);
    if (bytes < 0) return -1;
    MemFile* file = h->file;
    size_t end = h->position + static_cast<size_t>(bytes);
    if (end > file->capacity) {
        if (file->data && !file->owned) return -1;  // a fixed buffer: full
        size_t capacity = std::max(end, file->capacity * 2);
        uint8_t* data = static_cast<uint8_t*>(realloc(file->data, capacity));
        if (!data) return -1;
        file->data = data;
        file->capacity = capacity;
        file->owned = true;
    }
    memcpy(file->data + h->position, buffer, static_cast<size_t>(bytes));
    h->position = end;
    file->size = std::max(file->size, end);
    return bytes;
}

int MemSeek(mspack_file* f, off_t offset, int mode) {
    MemHandle* h = reinterpret_cast<MemHandle*>(f);
    off_t base = 0;
    switch (mode) {
    case MSPACK_SYS_SEEK_START: base = 0; break;
    case MSPACK_SYS_SEEK_CUR: base = static_cast<off_t>(h->position); break;
    case MSPACK_SYS_SEEK_END: base = static_cast<off_t>(h->file->size); break;
    default: return -1;
    }
    off_t to = base + offset;
    if (to < 0 || to > static_cast<off_t>(h->file->size)) return -1;
    h->position = static_cast<size_t>(to);
    return 0;
}

off_t MemTell(mspack_file* f) { return static_cast<off_t>(reinterpret_cast<MemHandle*>(f)->position); }

void MemMessage(mspack_file*, const char* format, ...) {
    va_list args;
    va_start(args, format);
    fputs("libmspack: ", stderr);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
}

void* MemAlloc(mspack_system*, size_t bytes) { return malloc(bytes); }
void MemFree(void* p) { free(p); }
void MemCopy(void* src, void* dest, size_t bytes) { memcpy(dest, src, bytes); }

mspack_system g_memSystem = {MemOpen, MemClose, MemRead, MemWrite, MemSeek, MemTell,
                             MemMessage, MemAlloc, MemFree, MemCopy, nullptr};

const char* AsName(MemFile* f) { return reinterpret_cast<const char*>(f); }

// Our decoder from memory to memory: `in` into at most `capacity` bytes at `out`.
szdd::Status ExpandBytes(const Bytes& in, uint8_t* out, size_t capacity, uint32_t* produced) {
    szdd::MemoryReader reader(in.data(), in.size());
    szdd::MemoryWriter writer(out, capacity);
    return szdd::Expand(reader, writer, produced);
}

// ---------------------------------------------------------------------------------------

// Seconds per call of f, the median over repeated samples: at least `minTotal` seconds in
// all and at least three samples; short calls are batched so a sample lasts long enough to
// time.
template <class F>
double MedianSeconds(F f, double minTotal) {
    auto t0 = Clock::now();
    f();  // warm up (caches, page faults) and estimate
    double once = std::max(std::chrono::duration<double>(Clock::now() - t0).count(), 1e-8);
    int samples = static_cast<int>(std::clamp(std::ceil(minTotal / once), 3.0, 11.0));
    long batch = std::max(1L, static_cast<long>(std::ceil(minTotal / (samples * once))));
    std::vector<double> times;
    for (int s = 0; s < samples; ++s) {
        auto t = Clock::now();
        for (long i = 0; i < batch; ++i) f();
        times.push_back(std::chrono::duration<double>(Clock::now() - t).count() / batch);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The same for two functions timed in alternating samples, so that a change of the
// machine's load during the measurement affects both alike; each gets at least `minTotal`.
template <class F, class G>
void MedianSecondsPaired(F f, G g, double minTotal, double* fSeconds, double* gSeconds) {
    auto estimate = [](auto& h) {
        auto t0 = Clock::now();
        h();
        return std::max(std::chrono::duration<double>(Clock::now() - t0).count(), 1e-8);
    };
    double onceF = estimate(f), onceG = estimate(g);
    int samples = 11;
    long batchF = std::max(1L, static_cast<long>(std::ceil(minTotal / (samples * onceF))));
    long batchG = std::max(1L, static_cast<long>(std::ceil(minTotal / (samples * onceG))));
    std::vector<double> timesF, timesG;
    for (int s = 0; s < samples; ++s) {
        auto t = Clock::now();
        for (long i = 0; i < batchF; ++i) f();
        auto u = Clock::now();
        for (long i = 0; i < batchG; ++i) g();
        auto v = Clock::now();
        timesF.push_back(std::chrono::duration<double>(u - t).count() / batchF);
        timesG.push_back(std::chrono::duration<double>(v - u).count() / batchG);
    }
    std::sort(timesF.begin(), timesF.end());
    std::sort(timesG.begin(), timesG.end());
    *fSeconds = timesF[samples / 2];
    *gSeconds = timesG[samples / 2];
}

bool ReadFile(const std::string& path, Bytes* out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    out->assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

bool WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(f);
}

// Runs `mscompress` on a copy of the data in a temporary folder and gives its output
// (mscompress writes FILE_ next to FILE). False when it could not run or wrote nothing.
bool Mscompress(const std::string& tempDir, const Bytes& data, Bytes* out) {
    std::string in = tempDir + "/input.bin";
    std::string packed = in + "_";
    unlink(packed.c_str());
    if (!WriteFile(in, data)) return false;
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) dup2(devnull, STDOUT_FILENO);
        execlp("mscompress", "mscompress", in.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && ReadFile(packed, out) && !out->empty();
    unlink(in.c_str());
    unlink(packed.c_str());
    return ok;
}

// libmspack's SZDD decompressor from memory to memory; false if it reports an error.
bool ExpandWithLibmspack(msszdd_decompressor* d, MemFile* in, MemFile* out) {
    return d->decompress(d, AsName(in), AsName(out)) == MSPACK_ERR_OK;
}

std::string Display(const std::string& path) {  // the last two parts of the path
    size_t last = path.rfind('/');
    if (last == std::string::npos || last == 0) return path;
    size_t before = path.rfind('/', last - 1);
    return before == std::string::npos ? path : path.substr(before + 1);
}

std::string Num(double v, int decimals) {
    char b[64];
    snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

std::string Thousands(uint64_t v) {
    std::string s = std::to_string(v);
    for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<size_t>(i), ",");
    return s;
}

struct Result {
    std::string path, group;
    size_t size = 0;
    size_t ours = 0;         // our compressed size
    long msc = -1;           // mscompress's, -1 when not compared
    double encodeS = 0, decodeOursS = 0, decodeMspackS = 0;
    std::string problems;    // failed checks
};

struct Totals {
    uint64_t size = 0, ours = 0;
    uint64_t cmpSize = 0, cmpOurs = 0, cmpMsc = 0;  // over the files compared with mscompress
    double encodeS = 0, decodeOursS = 0, decodeMspackS = 0;
    int files = 0, compared = 0;
    void Add(const Result& r) {
        ++files;
        size += r.size;
        ours += r.ours;
        encodeS += r.encodeS;
        decodeOursS += r.decodeOursS;
        decodeMspackS += r.decodeMspackS;
        if (r.msc >= 0) {
            ++compared;
            cmpSize += r.size;
            cmpOurs += r.ours;
            cmpMsc += static_cast<uint64_t>(r.msc);
        }
    }
};

double MBps(uint64_t bytes, double seconds) { return seconds > 0 ? bytes / seconds / 1e6 : 0; }

std::string Saving(uint64_t ours, uint64_t msc) {
    if (msc == 0) return "-";
    return Num(100.0 * (static_cast<double>(msc) - static_cast<double>(ours)) / static_cast<double>(msc), 2) + " %";
}

void PrintTotalsRow(const std::string& label, const Totals& t) {
    printf("| %s | %d | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", label.c_str(), t.files,
           Thousands(t.size).c_str(), Thousands(t.ours).c_str(),
           t.compared ? (Thousands(t.cmpOurs) + " / " + Thousands(t.cmpMsc)).c_str() : "-",
           Saving(t.cmpOurs, t.cmpMsc).c_str(), Num(MBps(t.size, t.encodeS), 1).c_str(),
           Num(MBps(t.size, t.decodeOursS), 1).c_str(), Num(MBps(t.size, t.decodeMspackS), 1).c_str(),
           t.decodeOursS > 0 ? Num(t.decodeMspackS / t.decodeOursS, 2).c_str() : "-",
           t.size ? (Num(100.0 * t.ours / t.size, 1) + " %").c_str() : "-");
}

}  // namespace

int main(int argc, char** argv) {
    double minTime = 0.3;
    bool useMscompress = true;
    std::string group = "-";
    std::vector<std::pair<std::string, std::string>> files;  // path, group
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("--min-time=", 0) == 0) {
            minTime = atof(a.c_str() + 11);
        } else if (a == "--no-mscompress") {
            useMscompress = false;
        } else if (a.rfind("--group=", 0) == 0) {
            group = a.substr(8);
        } else if (a == "-h" || a == "--help") {
            printf("usage: %s [--min-time=SECONDS] [--no-mscompress] [--group=NAME] FILE...\n", argv[0]);
            return 0;
        } else if (a.rfind("--", 0) == 0) {
            fprintf(stderr, "szdd_bench: unknown option %s\n", a.c_str());
            return 2;
        } else {
            files.push_back({a, group});
        }
    }
    if (files.empty()) {
        fprintf(stderr, "usage: %s [--min-time=SECONDS] [--no-mscompress] [--group=NAME] FILE...\n", argv[0]);
        return 2;
    }

    char tempTemplate[] = "/tmp/szdd_bench.XXXXXX";
    std::string tempDir;
    if (useMscompress) {
        if (!mkdtemp(tempTemplate)) return perror("mkdtemp"), 1;
        tempDir = tempTemplate;
    }
    msszdd_decompressor* mspack = mspack_create_szdd_decompressor(&g_memSystem);
    if (!mspack) return fprintf(stderr, "szdd_bench: libmspack: no SZDD decompressor\n"), 1;

    std::vector<Result> results;
    bool allOk = true;
    volatile size_t sink = 0;  // keeps the timed calls from being optimised away
    for (const auto& [path, fileGroup] : files) {
        Result r;
        r.path = path;
        r.group = fileGroup;
        Bytes data;
        if (!ReadFile(path, &data)) {
            fprintf(stderr, "szdd_bench: cannot read %s\n", path.c_str());
            allOk = false;
            continue;
        }
        // A file already in the SZDD format (a built payload) is benchmarked on its contents.
        szdd::Header header;
        if (szdd::ParseHeader(data.data(), data.size(), &header) == szdd::Status::kOk) {
            Bytes expanded(header.expandedLength);
            uint32_t n = 0;
            if (ExpandBytes(data, expanded.data(), expanded.size(), &n) == szdd::Status::kOk) {
                data.swap(expanded);
                r.path += " (expanded)";
            }
        }
        r.size = data.size();
        fprintf(stderr, "%s (%zu bytes)\n", r.path.c_str(), data.size());

        // (c) encode, and (b) our size.
        Bytes packed(szdd::MaxCompressedSize(data.size()));
        r.encodeS = MedianSeconds([&] { sink = sink + szdd::Compress(data.data(), data.size(), packed.data()); }, minTime);
        r.ours = szdd::Compress(data.data(), data.size(), packed.data());
        packed.resize(r.ours);
        if (r.ours == 0) r.problems += "Compress failed; ";

        // (a) decode ours, and the round trip.
        Bytes out(data.size() + 1);
        uint32_t produced = 0;
        szdd::Status status = ExpandBytes(packed, out.data(), data.size(), &produced);
        if (status != szdd::Status::kOk || produced != data.size() || !std::equal(data.begin(), data.end(), out.begin()))
            r.problems += std::string("our round trip fails: ") + szdd::Describe(status) + "; ";
        // (a) decode with libmspack, from and to memory; output preallocated to the length.
        MemFile in;
        in.data = packed.data();
        in.size = in.capacity = packed.size();
        MemFile dst;
        dst.data = static_cast<uint8_t*>(malloc(data.size() + 1));
        dst.capacity = data.size() + 1;
        dst.owned = true;
        if (!ExpandWithLibmspack(mspack, &in, &dst))
            r.problems += "libmspack failed (error " + std::to_string(mspack->last_error(mspack)) + "); ";
        else if (dst.size != data.size() || memcmp(dst.data, out.data(), data.size()) != 0)
            r.problems += "libmspack's output differs from ours; ";
        // Timed in alternation: ours, then libmspack.
        MedianSecondsPaired(
            [&] {
                uint32_t n = 0;
                ExpandBytes(packed, out.data(), data.size(), &n);
                sink = sink + n + out[n / 2];
            },
            [&] {
                ExpandWithLibmspack(mspack, &in, &dst);
                sink = sink + dst.size;
            },
            minTime, &r.decodeOursS, &r.decodeMspackS);
        dst.Release();

        // (b) mscompress's size, and ours expanding its output.
        if (useMscompress && data.size() >= kMscompressMinSize) {
            Bytes theirs;
            if (!Mscompress(tempDir, data, &theirs)) {
                r.problems += "mscompress failed; ";
            } else {
                r.msc = static_cast<long>(theirs.size());
                Bytes back(data.size() + 1);
                uint32_t n = 0;
                szdd::Status s = ExpandBytes(theirs, back.data(), back.size(), &n);
                if (s != szdd::Status::kOk || n != data.size() || !std::equal(data.begin(), data.end(), back.begin()))
                    r.problems += std::string("ours does not expand mscompress's output: ") + szdd::Describe(s) + "; ";
            }
        }
        if (!r.problems.empty()) {
            allOk = false;
            fprintf(stderr, "  PROBLEM: %s\n", r.problems.c_str());
        }
        results.push_back(r);
    }
    mspack_destroy_szdd_decompressor(mspack);
    if (!tempDir.empty()) rmdir(tempDir.c_str());

    // The report.
    printf("### Per file\n\n");
    printf("Sizes in bytes; *vs mscompress* is mscompress's size and our saving on it (files of %zu bytes "
           "or more); throughputs in MB/s (10^6 bytes per second) of uncompressed data, the median "
           "of repeated runs (at least %.2f s per measurement; the two decoders are timed in "
           "alternating samples); *ratio* is our decoding speed over libmspack's.\n\n", kMscompressMinSize, minTime);
    printf("| file | group | size | ours | mscompress | saving | encode MB/s | decode ours MB/s | "
           "decode libmspack MB/s | ratio | check |\n");
    printf("|---|---|--:|--:|--:|--:|--:|--:|--:|--:|---|\n");
    std::map<std::string, Totals> groups;
    std::vector<std::string> groupOrder;
    Totals total;
    for (const Result& r : results) {
        if (!groups.count(r.group)) groupOrder.push_back(r.group);
        groups[r.group].Add(r);
        total.Add(r);
        printf("| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", Display(r.path).c_str(), r.group.c_str(),
               Thousands(r.size).c_str(), Thousands(r.ours).c_str(),
               r.msc >= 0 ? Thousands(static_cast<uint64_t>(r.msc)).c_str() : "-",
               r.msc >= 0 ? Saving(r.ours, static_cast<uint64_t>(r.msc)).c_str() : "-",
               Num(MBps(r.size, r.encodeS), 1).c_str(), Num(MBps(r.size, r.decodeOursS), 1).c_str(),
               Num(MBps(r.size, r.decodeMspackS), 1).c_str(),
               r.decodeOursS > 0 ? Num(r.decodeMspackS / r.decodeOursS, 2).c_str() : "-",
               r.problems.empty() ? "ok" : ("**FAIL** " + r.problems).c_str());
    }

    printf("\n### Totals\n\n");
    printf("Throughputs over a group are its bytes over the sum of the per-file median times. "
           "*ours / mscompress* sums only the files compared with mscompress.\n\n");
    printf("| group | files | size | ours | ours / mscompress | saving | encode MB/s | decode ours MB/s | "
           "decode libmspack MB/s | ratio | ours / size |\n");
    printf("|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    for (const std::string& g : groupOrder) PrintTotalsRow(g, groups[g]);
    PrintTotalsRow("**all**", total);

    double ratio = total.decodeOursS > 0 ? total.decodeMspackS / total.decodeOursS : 0;
    double saving = total.cmpMsc ? 100.0 * (static_cast<double>(total.cmpMsc) - static_cast<double>(total.cmpOurs)) /
                                       static_cast<double>(total.cmpMsc)
                                 : 0;
    printf("\n### Targets\n\n");
    // Decoding speed is reported, not aimed at: the product expands through the system.
    printf("- decoding: ours %.1f MB/s, libmspack %.1f MB/s, ratio %.2f\n", MBps(total.size, total.decodeOursS),
           MBps(total.size, total.decodeMspackS), ratio);
    if (total.cmpMsc)
        printf("- size: ours %s bytes, mscompress %s bytes, saving %.2f %% (target at least 3 %%): **%s**\n",
               Thousands(total.cmpOurs).c_str(), Thousands(total.cmpMsc).c_str(), saving,
               saving >= 3 ? "met" : "not met");
    // Files mscompress cannot shrink (random data, already compressed images) are stored as
    // literals by both, 1/8 larger than the input; no encoder of the format can save there.
    Totals compressible;
    for (const Result& r : results)
        if (r.msc >= 0 && static_cast<size_t>(r.msc) < r.size) compressible.Add(r);
    if (compressible.cmpMsc)
        printf("- size on the %d files mscompress can shrink (the others are stored as literals by both): "
               "ours %s, mscompress %s, saving %s\n",
               compressible.compared, Thousands(compressible.cmpOurs).c_str(), Thousands(compressible.cmpMsc).c_str(),
               Saving(compressible.cmpOurs, compressible.cmpMsc).c_str());
    printf("- encoding: %.1f MB/s\n", MBps(total.size, total.encodeS));
    printf("- correctness checks: **%s**\n", allOk ? "all passed" : "FAILED (see the check column)");
    return allOk ? 0 : 1;
}
