#include "framework/text.h"

#include <stdlib.h>
#include <string.h>

CText::CText(const char* s) { *this = s; }
CText::CText(const char* s, size_t n) { Append(s, n); }
CText::CText(const CText& other) {
    if (other.m_failed) Fail();
    Append(other.m_p, other.m_len);
}
CText::CText(CText&& other) noexcept
    : m_p(other.m_p), m_len(other.m_len), m_cap(other.m_cap), m_failed(other.m_failed) {
    other.m_p = nullptr;
    other.m_len = other.m_cap = 0;
    other.m_failed = false;
}
CText::~CText() { free(m_p); }

CText& CText::operator=(const CText& other) {
    if (this != &other) {
        Truncate(0);
        m_failed = false;
        if (other.m_failed) Fail();
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
        m_failed = other.m_failed;
        other.m_p = nullptr;
        other.m_len = other.m_cap = 0;
        other.m_failed = false;
    }
    return *this;
}

CText& CText::operator=(const char* s) {
    if (s >= m_p && m_p && s <= m_p + m_len) return *this = CText(s);  // assigning a part of itself
    Truncate(0);
    m_failed = false;
    return *this += s;
}

CText& CText::operator+=(const CText& s) {
    if (s.m_failed) Fail();
    return Append(s.m_p, s.m_len);
}

CText& CText::operator+=(const char* s) { return s ? Append(s, strlen(s)) : *this; }

// Room for `capacity` bytes and the terminator; false when it cannot be had, with the
// text as it was.
bool CText::Reserve(size_t capacity) {
    if (capacity <= m_cap && m_p) return true;
    const size_t most = static_cast<size_t>(-1) / 2;  // no size anywhere near overflowing
    if (capacity > most) return false;
    size_t grown = m_cap > capacity / 2 && m_cap <= most / 2 ? m_cap * 2 : capacity;
    char* p = static_cast<char*>(realloc(m_p, grown + 1));
    if (!p && grown > capacity) p = static_cast<char*>(realloc(m_p, (grown = capacity) + 1));
    if (!p) return false;
    m_p = p;
    m_cap = grown;
    return true;
}

void CText::Fail() {
    free(m_p);
    m_p = nullptr;
    m_len = m_cap = 0;
    m_failed = true;
}

CText& CText::Append(const char* s, size_t n) {
    if (m_failed) return *this;
    if (n > static_cast<size_t>(-1) / 2 - m_len || !Reserve(m_len + n)) {
        Fail();
        return *this;
    }
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

void CText::Truncate(size_t newLength) {
    if (newLength < m_len) {
        m_len = newLength;
        m_p[m_len] = '\0';
    }
}

CText CText::Replaced(const char* what, const char* with) const {
    size_t whatLen = strlen(what);
    if (whatLen == 0 || m_failed) return *this;
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
    if (m_failed) return nullptr;
    if (!Reserve(capacity)) {
        Fail();
        return nullptr;
    }
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
