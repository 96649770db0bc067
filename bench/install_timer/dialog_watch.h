// The dialogs (message boxes among them) that one process opens, learnt from the system's
// window events without polling: out of context, the events come to this thread as
// messages, so whoever waits must dispatch them (MsgWaitForMultipleObjects and a
// PeekMessage loop).
//
// Wine 8 reports a window's creation but neither its showing nor the start of a dialog;
// Windows reports all three. All three are watched, and a dialog is handed on once, at the
// first of them: when it is actually up is for the taker to find out (box.h).
#pragma once

#include <windows.h>

#include <deque>
#include <set>

struct NewDialog {
    HWND hwnd;
    double seenMs;  // when its first event reached this thread
};

class DialogWatch {
public:
    explicit DialogWatch(DWORD processId);
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

    // Takes the oldest dialog not yet taken; false when there is none.
    bool Next(NewDialog* dialog);

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child,
                                 DWORD thread, DWORD time);
    void Note(HWND hwnd);

    static DialogWatch* s_current;  // the event procedure has no room for a context
    HWINEVENTHOOK m_objectHook = nullptr;
    HWINEVENTHOOK m_dialogHook = nullptr;
    std::deque<NewDialog> m_pending;
    std::set<HWND> m_known;
};
