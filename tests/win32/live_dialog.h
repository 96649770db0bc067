// Helpers that run tests inside live dialogs on the test thread.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A dialog class `Base` that, once open and shown, runs `body` and then closes itself
// with IDCANCEL (unless the body ended it already).
template <class Base>
class LiveDialog : public Base {
public:
    using Base::Base;
    std::function<void(LiveDialog&)> body;

protected:
    static constexpr UINT kRunBody = WM_APP + 77;
    BOOL OnInitDialog() override {
        BOOL result = Base::OnInitDialog();
        PostMessageA(this->m_hWnd, kRunBody, 0, 0);
        return result;
    }
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
        if (msg != kRunBody) return Base::OnMessage(msg, wp, lp, handled);
        handled = true;
        if (body) body(*this);
        if (IsWindow(this->m_hWnd)) ::EndDialog(this->m_hWnd, IDCANCEL);
        return TRUE;
    }
};

// What a message box showed.
struct SeenMessageBox {
    std::string caption;
    std::string text;
    std::string icon;  // "stop", "question", "exclamation", "information" or "none"
    HWND owner = nullptr;
};

// How to answer one message box: run `before` (if any), then press `button`.
struct Answer {
    Answer(int b) : button(b) {}  // NOLINT(google-explicit-constructor)
    Answer(int b, std::function<void()> f) : button(b), before(std::move(f)) {}
    int button;
    std::function<void()> before;
};

// Watches the calling thread for message boxes: each one is recorded and answered with
// the next of `answers` (IDOK when they run out).
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::vector<Answer> answers = {});
    ~MessageBoxWatcher();
    const std::vector<SeenMessageBox>& seen() const { return m_seen; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
    static VOID CALLBACK Respond(HWND box, UINT, UINT_PTR, DWORD);
    HHOOK m_hook;
    std::vector<Answer> m_answers;
    std::vector<SeenMessageBox> m_seen;
};
