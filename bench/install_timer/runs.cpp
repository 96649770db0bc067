#include "runs.h"

#include <stdexcept>

#include "child_process.h"
#include "clock.h"
#include "dialog_watch.h"
#include "questions.h"
#include "setup_window.h"
#include "wait_end.h"

namespace {

// The progress bar's 100 steps of 10 ms.
const double kMandatedPausesMs = 1000.0;
const DWORD kDialogComesMs = 60000;
const DWORD kInstallEndsMs = 180000;

// The newsletter is not among them: the settings file records a subscription before
// each run, so it is not offered.
const std::vector<Question> kOurQuestions = {
    {"default player", L"Would you like to define it as default MP3 player"},
    {"start the application", L"Do you want to start [ mp3 - sondrel ] now"},
};

double Sum(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return sum;
}

void CheckEnd(const ChildProcess& program, const QuestionAnswerer& answers, const char* name) {
    if (const Question* missing = answers.NextQuestion())
        throw std::runtime_error(std::string(name) + " ended without asking the question " + missing->name);
    if (program.ExitCode() != 0)
        throw std::runtime_error(std::string(name) + " ended with status " + std::to_string(program.ExitCode()));
}

RunResult Result(double t0, double t1, double pausesMs, const QuestionAnswerer& answers, const ChildProcess& program) {
    const double elapsed = t1 - t0;
    return {elapsed - pausesMs - Sum(answers.WaitsMs()), elapsed, pausesMs, answers.WaitsMs(), answers.RisesMs(),
            program.ExitCode()};
}

}  // namespace

RunResult TimeOurs(const std::wstring& setupExe, const std::wstring& folder) {
    ChildProcess setup(setupExe, L"", false);
    HWND dialog = WaitForSetupDialog(setup, kDialogComesMs);
    SetInstallFolder(dialog, folder);
    DialogWatch watch(setup.Id());
    QuestionAnswerer answers(kOurQuestions, dialog);
    const double t0 = NowMs();
    PressInstall(dialog);
    const double t1 = WaitForEnd(setup.Handle(), watch, [&](const NewDialog& d) { answers.OnDialog(d); },
                                 kInstallEndsMs);
    CheckEnd(setup, answers, "setup.exe");
    return Result(t0, t1, kMandatedPausesMs, answers, setup);
}

RunResult TimePeer(const std::wstring& installer, const std::wstring& folder) {
    // The watch needs the process id, so the installer starts suspended and runs once
    // the watch is in place; both are inside the timing.
    const double t0 = NowMs();
    ChildProcess peer(installer, L"/S /D=" + folder, true);
    DialogWatch watch(peer.Id());
    QuestionAnswerer answers({}, nullptr);  // a silent install shows nothing
    peer.Resume();
    const double t1 = WaitForEnd(peer.Handle(), watch, [&](const NewDialog& d) { answers.OnDialog(d); },
                                 kInstallEndsMs);
    CheckEnd(peer, answers, "the NSIS installer");
    return Result(t0, t1, 0.0, answers, peer);
}
