#include "dialog_watch.h"

#include <stdexcept>

#include "clock.h"

DialogWatch* DialogWatch::s_current = nullptr;

namespace {

bool IsTopLevelDialog(HWND hwnd) {
    if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) return false;
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return wcscmp(name, L"#32770") == 0;
}

}  // namespace

DialogWatch::DialogWatch(DWORD processId) {
    if (s_current) throw std::logic_error("one dialog watch at a time");
    s_current = this;
    // Creation, destruction and showing are one contiguous range of events.
    m_objectHook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnEvent, processId, 0,
                                   WINEVENT_OUTOFCONTEXT);
    m_dialogHook = SetWinEventHook(EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART, nullptr, OnEvent, processId,
                                   0, WINEVENT_OUTOFCONTEXT);
    if (!m_objectHook || !m_dialogHook) {
        if (m_objectHook) UnhookWinEvent(m_objectHook);
        if (m_dialogHook) UnhookWinEvent(m_dialogHook);
        s_current = nullptr;
        throw std::runtime_error("cannot watch the program's windows (SetWinEventHook failed)");
    }
}

DialogWatch::~DialogWatch() {
    UnhookWinEvent(m_dialogHook);
    UnhookWinEvent(m_objectHook);
    s_current = nullptr;
}

bool DialogWatch::Next(NewDialog* dialog) {
    if (m_pending.empty()) return false;
    *dialog = m_pending.front();
    m_pending.pop_front();
    return true;
}

// Runs inside this thread's message dispatch. It only notes the window: talking to the
// program from here could answer its messages in the middle of its own window creation.
void CALLBACK DialogWatch::OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (!s_current || event == EVENT_OBJECT_DESTROY) return;
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !hwnd) return;
    s_current->Note(hwnd);
}

void DialogWatch::Note(HWND hwnd) {
    if (m_known.count(hwnd) || !IsTopLevelDialog(hwnd)) return;
    m_known.insert(hwnd);
    m_pending.push_back({hwnd, NowMs()});
}
