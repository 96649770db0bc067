#include "wait_end.h"

#include <stdexcept>
#include <string>

#include "clock.h"

namespace {

void DispatchAll() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

double WaitForEnd(HANDLE process, DialogWatch& watch, const std::function<void(const NewDialog&)>& onDialog,
                  DWORD timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        const double left = deadline - NowMs();
        if (left <= 0) throw std::runtime_error("the program did not end within " + std::to_string(timeoutMs / 1000) + " s");
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) return NowMs();
        if (woke == WAIT_FAILED) throw std::runtime_error("cannot wait for the program (error " + std::to_string(GetLastError()) + ")");
        if (woke == WAIT_TIMEOUT) continue;
        DispatchAll();
        NewDialog dialog;
        while (watch.Next(&dialog)) onDialog(dialog);
    }
}
