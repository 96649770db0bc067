// A visible window of the calling thread that counts its repaints and the messages of one
// kind it is given: what a wait on that thread served, and what it left or dropped.
#pragma once
#include <windows.h>

#include <atomic>

class CountingWindow {
public:
    explicit CountingWindow(UINT counted);
    ~CountingWindow();
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    int paints() const { return m_paints; }
    int counted() const { return m_counted; }
    // Handles what is queued for the thread, then starts counting from zero.
    void Reset();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    UINT m_message;
    HWND m_hwnd;
    WNDPROC m_original;
    std::atomic<int> m_paints{0};
    std::atomic<int> m_counted{0};
};

// Handles every message queued for the calling thread.
void Drain();
