#include "framework/instance_lock.h"

#include "framework/text.h"

CInstanceLock::CInstanceLock(const char* name) {
    // Global: a copy in another user's session would share the same folders.
    m_hMutex = CreateMutexA(nullptr, FALSE, CText("Global\\") + name);
    const DWORD error = GetLastError();
    if (!m_hMutex) {
        m_held = error != ERROR_ACCESS_DENIED;  // denied: another session's copy holds it
        return;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        m_held = false;
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
}

CInstanceLock::~CInstanceLock() {
    if (m_hMutex) CloseHandle(m_hMutex);
}
