#include "counting_window.h"

CountingWindow::CountingWindow(UINT counted) : m_message(counted) {
    m_hwnd = CreateWindowExA(0, "Static", "counting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    Reset();
}

CountingWindow::~CountingWindow() { DestroyWindow(m_hwnd); }

void CountingWindow::Reset() {
    Drain();
    m_paints = 0;
    m_counted = 0;
}

LRESULT CALLBACK CountingWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_PAINT) ++self->m_paints;
    if (msg == self->m_message) ++self->m_counted;
    return CallWindowProcA(self->m_original, hwnd, msg, wp, lp);
}

void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}
