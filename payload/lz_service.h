// The system's LZ expansion service (lz32.dll), used through file handles. It is not one
// of the DLLs the loader protects, so it is found in the system directory at run time.
#pragma once
#include <windows.h>

class LzService {
public:
    // False when the service is not on this system.
    bool Load();
    // Takes over `file` (read access) for expansion: a handle of 0 or more, or a negative
    // LZERROR_ code, in which case `file` is still open and still the caller's.
    INT Init(HANDLE file) const { return m_init(static_cast<INT>(reinterpret_cast<INT_PTR>(file))); }
    // Expands everything from `source` into the plain file `target`: the byte count, or a
    // negative error code. The service's own copy writes a thousand bytes at a time; read
    // through it in large pieces, a target of megabytes takes a few hundred writes instead
    // of thousands.
    LONG Copy(INT source, HANDLE target) const;
    // Closes a handle from Init, and the file beneath it.
    void Close(INT handle) const { m_close(handle); }

private:
    using InitFn = INT(WINAPI*)(INT);
    using ReadFn = INT(WINAPI*)(INT, LPSTR, INT);
    using CloseFn = void(WINAPI*)(INT);
    InitFn m_init = nullptr;
    ReadFn m_read = nullptr;
    CloseFn m_close = nullptr;
};
