#include "box.h"

#include <stdexcept>

#include "clock.h"
#include "text.h"

namespace {

// A program that does not answer a message this long counts as hung, and the run fails.
const UINT kAnswerMs = 10000;
// A dialog that stays hidden this long is no box a user would see: the run fails.
const double kHiddenMostMs = 10000.0;
const int kBoxTextId = 0xFFFF;

bool Ping(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer) != 0;
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[2048] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, kAnswerMs, &length))
        return L"";
    return std::wstring(buffer, length);
}

}  // namespace

double WaitUntilUp(HWND dialog) {
    const double start = NowMs();
    for (;;) {
        const bool visible = IsWindowVisible(dialog) != FALSE;
        if (!Ping(dialog)) {
            if (!IsWindow(dialog)) throw std::runtime_error("a dialog of the program closed before it was shown");
            throw std::runtime_error("a dialog of the program stopped answering (\"" + OneLine(Caption(dialog)) + "\")");
        }
        if (visible) return NowMs();
        if (NowMs() - start > kHiddenMostMs)
            throw std::runtime_error("a dialog of the program stayed hidden (\"" + OneLine(Caption(dialog)) + "\")");
    }
}

std::wstring Caption(HWND dialog) {
    wchar_t buffer[512] = {};
    GetWindowTextW(dialog, buffer, 512);  // a top-level window's title is read without a message
    return buffer;
}

std::wstring BoxText(HWND dialog) {
    HWND text = GetDlgItem(dialog, kBoxTextId);
    return text ? TextOf(text) : L"";
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) throw std::runtime_error("the box \"" + OneLine(Caption(dialog)) + "\" has no button " + std::to_string(id));
    if (!PostMessageW(button, BM_CLICK, 0, 0))
        throw std::runtime_error("cannot press a button of \"" + OneLine(Caption(dialog)) + "\"");
}
