#include "framework/text.h"

#include <stdlib.h>
#include <string.h>

namespace {
// Out of memory for a text the program cannot do without: the process cannot go on
// in any sensible way, and a setup program must not write half-formed paths.
[[noreturn]] void OutOfMemory() { abort(); }
}  // namespace

CText::CText() = default;
CText::CText(const char* s) { *this = s; }
CText::CText(const char* s, size_t n) { Append(s, n); }
CText::CText(const CText& other) { Append(other.m_p, other.m_len); }
CText::CText(CText&& other) noexcept : m_p(other.m_p), m_len(other.m_len), m_cap(other.m_cap) {
    other.m_p = nullptr;
    other.m_len = other.m_cap = 0;
}
CText::~CText() { free(m_p); }

CText& CText::operator=(const CText& other) {
    if (this != &other) {
        Truncate(0);
        Append(other.m_p, other.m_len);
    }
    return *this;
}

CText& CText::operator=(CText&& other) noexcept {
    if (this != &other) {
        free(m_p);
        m_p = other.m_p;
        m_len = other.m_len;
        m_cap = other.m_cap;
        other.m_p = nullptr;
        other.m_len = other.m_cap = 0;
    }
    return *this;
}

CText& CText::operator=(const char* s) {
    if (s >= m_p && m_p && s <= m_p + m_len) return *this = CText(s);  // assigning a part of itself
    Truncate(0);
    return *this += s;
}

CText& CText::operator+=(const char* s) { return s ? Append(s, strlen(s)) : *this; }

bool CText::Reserve(size_t capacity) {
    if (capacity <= m_cap && m_p) return true;
    size_t grown = m_cap * 2 > capacity ? m_cap * 2 : capacity;
    char* p = static_cast<char*>(realloc(m_p, grown + 1));
    if (!p) return false;
    m_p = p;
    m_cap = grown;
    return true;
}

CText& CText::Append(const char* s, size_t n) {
    if (!Reserve(m_len + n)) OutOfMemory();
    if (n) memmove(m_p + m_len, s, n);  // s may lie inside this text
    m_len += n;
    m_p[m_len] = '\0';
    return *this;
}

long CText::Find(const char* what, size_t start) const {
    if (!m_p || start > m_len) return -1;
    const char* hit = strstr(m_p + start, what);
    return hit ? static_cast<long>(hit - m_p) : -1;
}

bool CText::operator==(const char* s) const { return strcmp(c_str(), s ? s : "") == 0; }

void CText::Truncate(size_t newLength) {
    if (newLength < m_len) {
        m_len = newLength;
        m_p[m_len] = '\0';
    }
}

CText CText::Replaced(const char* what, const char* with) const {
    size_t whatLen = strlen(what);
    if (whatLen == 0) return *this;
    CText out;
    size_t from = 0;
    for (long at; (at = Find(what, from)) >= 0; from = static_cast<size_t>(at) + whatLen) {
        out.Append(m_p + from, static_cast<size_t>(at) - from);
        out += with;
    }
    out.Append(c_str() + from, m_len - from);
    return out;
}

char* CText::GetBuffer(size_t capacity) {
    if (!Reserve(capacity)) return nullptr;
    m_p[m_len] = '\0';
    m_p[capacity] = '\0';
    return m_p;
}

void CText::ReleaseBuffer() { m_len = m_p ? strlen(m_p) : 0; }

CText operator+(const CText& a, const char* b) {
    CText r(a);
    r += b;
    return r;
}

CText operator+(const CText& a, const CText& b) {
    CText r(a);
    r += b;
    return r;
}
