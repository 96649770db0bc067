#include "framework/wide_path.h"

#include <string.h>

size_t WideLength(const WCHAR* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

bool CWidePath::Fail() {
    m_text[0] = L'\0';
    m_length = 0;
    m_failed = true;
    return false;
}

bool CWidePath::Append(const WCHAR* text, size_t length) {
    if (m_failed) return false;
    if (length > kMaxPathChars - m_length) return Fail();
    memcpy(m_text + m_length, text, length * sizeof(WCHAR));
    m_length += length;
    m_text[m_length] = L'\0';
    return true;
}

bool CWidePath::Assign(const WCHAR* text, size_t length) {
    m_length = 0;
    m_text[0] = L'\0';
    m_failed = false;
    return Append(text, length);
}

bool CWidePath::Join(const WCHAR* name, size_t length) {
    if (!name) return !m_failed;
    if (m_length == 0 || m_text[m_length - 1] != L'\\') Append(L"\\", 1);
    return Append(name, length);
}

namespace {

// `ansi` in UTF-16 into `out`, which holds kMaxPathChars units and the terminator; the
// length, or -1 when it does not fit or cannot be converted.
int Widen(const char* ansi, WCHAR* out) {
    if (!*ansi) return 0;
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, out, static_cast<int>(kMaxPathChars + 1));
    return n > 0 ? n - 1 : -1;
}

}  // namespace

bool CWidePath::AssignAnsi(const char* text) {
    WCHAR wide[kMaxPathChars + 1];
    int n = Widen(text, wide);
    if (n < 0) {
        m_failed = false;
        return Fail();
    }
    return Assign(wide, static_cast<size_t>(n));
}

bool CWidePath::JoinAnsi(const char* name) {
    if (!name) return !m_failed;
    WCHAR wide[kMaxPathChars + 1];
    int n = Widen(name, wide);
    return n < 0 ? Fail() : Join(wide, static_cast<size_t>(n));
}

bool CWidePath::Exists() const { return !m_failed && GetFileAttributesW(m_text) != INVALID_FILE_ATTRIBUTES; }

bool CWidePath::ToAnsi(CText* ansi) const {
    *ansi = "";
    if (m_failed) return false;
    if (m_length == 0) return true;
    BOOL lossy = FALSE;
    const int length = static_cast<int>(m_length);
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, m_text, length, nullptr, 0, nullptr, &lossy);
    char* buffer = bytes > 0 && !lossy ? ansi->GetBuffer(static_cast<size_t>(bytes)) : nullptr;
    if (!buffer) return false;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, m_text, length, buffer, bytes, nullptr, nullptr);
    buffer[bytes] = '\0';
    ansi->ReleaseBuffer();
    return true;
}
