#include "payload/lz_service.h"

#include <lzexpand.h>

#include "framework/system_dll.h"

bool LzService::Load() {
    m_init = sysdll::Function<InitFn>("lz32.dll", "LZInit");
    m_read = sysdll::Function<ReadFn>("lz32.dll", "LZRead");
    m_close = sysdll::Function<CloseFn>("lz32.dll", "LZClose");
    return m_init && m_read && m_close;
}

LONG LzService::Copy(INT source, HANDLE target) const {
    static char piece[64 * 1024];  // one install at a time, on one thread
    LONG total = 0;
    for (;;) {
        INT got = m_read(source, piece, sizeof piece);
        if (got <= 0) return got < 0 ? got : total;
        DWORD written = 0;
        if (!WriteFile(target, piece, static_cast<DWORD>(got), &written, nullptr) || written != static_cast<DWORD>(got))
            return LZERROR_WRITE;
        total += got;
    }
}
