#include "payload/lz_service.h"

#include "framework/system_dll.h"

bool LzService::Load() {
    m_init = sysdll::Function<InitFn>("lz32.dll", "LZInit");
    m_copy = sysdll::Function<CopyFn>("lz32.dll", "LZCopy");
    m_close = sysdll::Function<CloseFn>("lz32.dll", "LZClose");
    return m_init && m_copy && m_close;
}
