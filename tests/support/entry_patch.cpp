#include "entry_patch.h"

#include <string.h>

#include "framework/system_dll.h"

EntryPatch::EntryPatch(const char* dll, const char* function, void* replacement)
    : m_target(reinterpret_cast<BYTE*>(sysdll::Find(dll, function))) {
    if (!m_target) return;
    memcpy(m_saved, m_target, kJumpSize);
    BYTE jump[kJumpSize];
#if defined(_WIN64)
    jump[0] = 0x48;  // REX.W
    jump[1] = 0xB8;  // mov rax, imm64
    memcpy(jump + 2, &replacement, 8);
    jump[10] = 0xFF;  // jmp rax
    jump[11] = 0xE0;
#else
    jump[0] = 0xE9;
    LONG distance = LONG(reinterpret_cast<BYTE*>(replacement) - (m_target + kJumpSize));
    memcpy(jump + 1, &distance, 4);
#endif
    Write(jump);
}

void EntryPatch::Restore() {
    if (!m_target) return;
    Write(m_saved);
    m_target = nullptr;
}

void EntryPatch::Write(const BYTE* bytes) {
    DWORD old;
    VirtualProtect(m_target, kJumpSize, PAGE_EXECUTE_READWRITE, &old);
    memcpy(m_target, bytes, kJumpSize);
    VirtualProtect(m_target, kJumpSize, old, &old);
    FlushInstructionCache(GetCurrentProcess(), m_target, kJumpSize);
}
