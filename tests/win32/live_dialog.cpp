#include "live_dialog.h"

namespace {
MessageBoxWatcher* g_watcher = nullptr;

std::string IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        if (icon == LoadIconA(nullptr, IDI_HAND)) return "stop";
        if (icon == LoadIconA(nullptr, IDI_QUESTION)) return "question";
        if (icon == LoadIconA(nullptr, IDI_EXCLAMATION)) return "exclamation";
        if (icon == LoadIconA(nullptr, IDI_ASTERISK)) return "information";
    }
    return "none";
}

std::string TextOf(HWND window) {
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}
}  // namespace

MessageBoxWatcher::MessageBoxWatcher(std::vector<Answer> answers) : m_answers(std::move(answers)) {
    g_watcher = this;
    m_hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() {
    UnhookWindowsHookEx(m_hook);
    g_watcher = nullptr;
}

LRESULT CALLBACK MessageBoxWatcher::Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && g_watcher) {
        auto box = reinterpret_cast<HWND>(wp);
        char cls[32] = {};
        GetClassNameA(box, cls, sizeof cls);
        if (std::string(cls) == "#32770" && GetDlgItem(box, 0xFFFF))
            SetTimer(box, 1, 50, Respond);  // answer once the box runs its own loop
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

VOID CALLBACK MessageBoxWatcher::Respond(HWND box, UINT, UINT_PTR id, DWORD) {
    KillTimer(box, id);
    MessageBoxWatcher* self = g_watcher;
    if (!self) return;
    self->m_seen.push_back({TextOf(box), TextOf(GetDlgItem(box, 0xFFFF)), IconOf(box), GetWindow(box, GW_OWNER)});
    Answer answer = IDOK;
    if (!self->m_answers.empty()) {
        answer = self->m_answers.front();
        self->m_answers.erase(self->m_answers.begin());
    }
    if (answer.before) answer.before();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
}
