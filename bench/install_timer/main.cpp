// install_timer: times one install under Windows (or Wine), for bench/install-bench.sh.
//   install_timer ours SETUP_EXE INSTALL_DIR   our setup.exe, driven through its dialog
//   install_timer peer INSTALLER INSTALL_DIR   a silent NSIS installer (/S /D=INSTALL_DIR)
// Prints one line, "RESULT" and key=value fields (milliseconds), and ends with 0; a run
// that went wrong prints the reason on stderr and ends with 1.
#include <cstdio>
#include <exception>
#include <string>

#include "runs.h"

namespace {

std::string Joined(const std::vector<double>& values) {
    if (values.empty()) return "-";
    std::string out;
    char number[32];
    for (double v : values) {
        snprintf(number, sizeof number, "%s%.1f", out.empty() ? "" : "+", v);
        out += number;
    }
    return out;
}

void Print(const char* kind, const RunResult& r) {
    printf("RESULT kind=%s ms=%.1f elapsed=%.1f pauses=%.0f box_waits=%s box_rises=%s exit=%lu\n", kind, r.figureMs,
           r.elapsedMs, r.pausesMs, Joined(r.boxWaitsMs).c_str(), Joined(r.boxRisesMs).c_str(), r.exitCode);
    fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring kind = argc == 4 ? argv[1] : L"";
    if (kind != L"ours" && kind != L"peer") {
        fprintf(stderr, "usage: install_timer ours SETUP_EXE INSTALL_DIR | peer INSTALLER INSTALL_DIR\n");
        return 2;
    }
    try {
        if (kind == L"ours")
            Print("ours", TimeOurs(argv[2], argv[3]));
        else
            Print("peer", TimePeer(argv[2], argv[3]));
        return 0;
    } catch (const std::exception& failure) {
        fprintf(stderr, "install_timer: FAILED: %s\n", failure.what());
        return 1;
    }
}
