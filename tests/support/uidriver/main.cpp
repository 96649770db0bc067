// uidriver.exe: drives the user interface of a program under test, for the
// end-to-end tests. Runs under Wine next to it (same prefix, wineserver and
// X display), reads one request per line on stdin and writes exactly one
// reply (one line, or a list of lines) on stdout for each. See protocol.h and
// tests/e2e/uidriver.py.
#include <windows.h>

#include <string>

#include "commands.h"
#include "protocol.h"

namespace {

// Raw handles, not the C runtime's streams: no text-mode newline translation,
// no buffering surprises, UTF-8 bytes passed as they are.
class LineReader {
public:
    explicit LineReader(HANDLE h) : h_(h) {}
    // False at end of input (EOF or a broken pipe).
    bool next(std::string* line) {
        for (;;) {
            size_t nl = buf_.find('\n');
            if (nl != std::string::npos) {
                *line = buf_.substr(0, nl);
                buf_.erase(0, nl + 1);
                if (!line->empty() && line->back() == '\r') line->pop_back();
                return true;
            }
            char chunk[4096];
            DWORD got = 0;
            if (!ReadFile(h_, chunk, sizeof chunk, &got, nullptr) || got == 0) {
                if (buf_.empty()) return false;
                *line = buf_;  // a last line without a newline
                buf_.clear();
                if (!line->empty() && line->back() == '\r') line->pop_back();
                return true;
            }
            buf_.append(chunk, got);
        }
    }

private:
    HANDLE h_;
    std::string buf_;
};

bool write_all(HANDLE h, const std::string& s) {
    size_t done = 0;
    while (done < s.size()) {
        DWORD wrote = 0;
        if (!WriteFile(h, s.data() + done, DWORD(s.size() - done), &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    FlushFileBuffers(h);
    return true;
}

int run() {
    // Without this, a failing system call could pop up a Wine error box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // The driver measures fonts and windows in the screen's own pixels. A program unaware
    // of the display scale is shown a screen of 96 DPI instead (by Windows, and by Wine
    // since version 9).
    SetProcessDPIAware();
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    LineReader reader(in);
    std::string line;
    while (reader.next(&line)) {
        uid::Outcome o = uid::handle_request(uid::split_request(line));
        if (!write_all(out, o.text)) return 1;
        if (o.quit) return 0;
    }
    return 0;
}

}  // namespace

// Both entry points, so that the driver links with and without -municode
// (the arguments are not used).
int main() { return run(); }
int wmain() { return run(); }
