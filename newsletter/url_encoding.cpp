#include "newsletter/url_encoding.h"

namespace {

bool KeptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '@';
}

char HexDigit(unsigned value) { return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10); }

}  // namespace

CText PercentEncoded(const char* value) {
    CText out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p; ++p) {
        if (KeptAsIs(*p)) {
            out += static_cast<char>(*p);
            continue;
        }
        const char escaped[3] = {'%', HexDigit(*p >> 4), HexDigit(*p & 0xF)};
        out.Append(escaped, 3);
    }
    return out;
}
