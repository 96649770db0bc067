#include "newsletter/reply_scan.h"

#include <string.h>
#include <windows.h>

bool CReplyScan::Add(const char* piece, size_t length) {
    const char* zero = static_cast<const char*>(memchr(piece, '\0', length));
    if (zero) length = static_cast<size_t>(zero - piece);
    const size_t room = kCap - m_body.GetLength();
    m_body.Append(piece, length < room ? length : room);
    if (m_body.Failed()) return false;
    // A character is looked at once the byte after its first is there: the second
    // letter, or the rest of a double-byte character.
    const char* text = m_body.c_str();
    while (!m_found && m_next + 1 < m_body.GetLength()) {
        m_found = text[m_next] == 'O' && text[m_next + 1] == 'K';
        m_next = static_cast<size_t>(CharNextA(text + m_next) - text);
    }
    return !m_found && m_body.GetLength() < kCap;
}
