// The subscription reply's body as it arrives: the pieces are joined, each ending at its
// first zero byte, and searched for the two capital letters "OK" character by character
// in the ANSI code page, so an "OK" split between two pieces counts. Only the first
// kCap bytes are kept and searched: no reply can make the program grow without bound.
#pragma once
#include <stddef.h>

#include "framework/text.h"

class CReplyScan {
public:
    static constexpr size_t kCap = 64 * 1024;

    // Takes the next piece; false once reading can stop: "OK" was found, the cap was
    // reached or the text could not grow.
    bool Add(const char* piece, size_t length);
    bool Acknowledged() const { return m_found; }

private:
    CText m_body;
    size_t m_next = 0;  // where the next character to look at starts
    bool m_found = false;
};
