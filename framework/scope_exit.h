// Runs a clean-up when the scope that made it ends, on every way out; Release() keeps it
// from running once the work it guards has been handed on.
#pragma once

template <typename Fn>
class CScopeExit {
public:
    explicit CScopeExit(Fn fn) : m_fn(fn) {}
    ~CScopeExit() {
        if (m_armed) m_fn();
    }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;
    void Release() { m_armed = false; }

private:
    Fn m_fn;
    bool m_armed = true;
};

template <typename Fn>
CScopeExit<Fn> MakeScopeExit(Fn fn) {
    return CScopeExit<Fn>(fn);
}
