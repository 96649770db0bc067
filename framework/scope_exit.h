// Runs a clean-up when the scope that made it ends, on every way out.
#pragma once

template <typename Fn>
class CScopeExit {
public:
    explicit CScopeExit(Fn fn) : m_fn(fn) {}
    ~CScopeExit() { m_fn(); }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

private:
    Fn m_fn;
};

template <typename Fn>
CScopeExit<Fn> MakeScopeExit(Fn fn) {
    return CScopeExit<Fn>(fn);
}
