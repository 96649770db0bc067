// Replaces one function of a system DLL for the length of a test, where Wine gives no
// real way to make it fail: a jump to the replacement is written over the function's
// entry (in the module the program itself binds through sysdll) and the original bytes
// are put back when the object goes.
#pragma once
#include <windows.h>

class EntryPatch {
public:
    EntryPatch(const char* dll, const char* function, void* replacement);
    ~EntryPatch() { Restore(); }
    EntryPatch(const EntryPatch&) = delete;
    EntryPatch& operator=(const EntryPatch&) = delete;

    // False when the DLL or the function is missing: nothing was patched.
    bool Active() const { return m_target != nullptr; }
    // Puts the original entry back early (the replacement may call it itself); a
    // second call does nothing.
    void Restore();

private:
#if defined(_WIN64)
    // mov rax, imm64; jmp rax: reaches anywhere, and rax carries no argument on entry.
    static constexpr int kJumpSize = 12;
#else
    // jmp rel32: within 2 GB, which is all of a 32-bit address space.
    static constexpr int kJumpSize = 5;
#endif
    void Write(const BYTE* bytes);

    BYTE* m_target;
    BYTE m_saved[kJumpSize] = {};
};

// Any function pointer as the untyped address EntryPatch takes.
template <typename Fn>
void* EntryOf(Fn* fn) {
    return reinterpret_cast<void*>(fn);
}
