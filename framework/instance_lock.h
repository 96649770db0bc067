// A name that one running program holds at a time, on the whole machine: the setup
// program keeps a second copy from installing beside the first.
#pragma once
#include <windows.h>

class CInstanceLock {
public:
    explicit CInstanceLock(const char* name);
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // False when another process holds the name, in this session or another. A lock
    // that could not be made for any other reason does not stop the program.
    bool Held() const { return m_held; }

private:
    HANDLE m_hMutex = nullptr;
    bool m_held = true;
};
