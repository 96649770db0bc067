#include "framework/program_name.h"

#include <windows.h>

#include "framework/app.h"

CText ProgramName() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(AfxGetInstanceHandle(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "setup";
    const char* base = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') base = p + 1;
    const char* dot = nullptr;
    for (const char* p = base; *p; p = CharNextA(p))
        if (*p == '.') dot = p;
    return dot ? CText(base, static_cast<size_t>(dot - base)) : CText(base);
}
