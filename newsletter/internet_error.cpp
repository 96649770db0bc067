#include "newsletter/internet_error.h"

#include "framework/system_dll.h"

const char kInternetDll[] = "wininet.dll";

CText InternetErrorText(DWORD code) {
    char text[512];
    DWORD length = 0;
    if (code != 0) {
        const DWORD flags = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
        length = FormatMessageA(flags, sysdll::Load(kInternetDll), code, 0, text, sizeof text, nullptr);
    }
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
    if (length == 0) return "Internal application error.";
    return CText(text, length);
}

CFailure RaiseInternetError(DWORD code) { return CFailure::Raise(InternetErrorText(code)); }
