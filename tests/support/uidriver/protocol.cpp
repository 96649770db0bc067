#include "protocol.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace uid {

// Valid UTF-8 out, whatever came in: invalid sequences (say, echoed from a
// malformed request) become U+FFFD. Valid text is unchanged.
static std::string valid_utf8(const std::string& text) {
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), nullptr, 0) > 0 ||
        text.empty())
        return text;
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &w[0], n);
    return narrow(w);
}

std::string escape(const std::string& raw) {
    const std::string text = valid_utf8(raw);
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out;
}

std::string unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        char n = text[++i];
        switch (n) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            default: out += n;  // covers "\\" and unknown escapes
        }
    }
    return out;
}

std::vector<std::string> split_request(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    if (n <= 0) {  // not valid UTF-8: take the bytes as Latin-1 rather than failing
        std::wstring w;
        for (unsigned char c : utf8) w += (wchar_t)c;
        return w;
    }
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &w[0], n);
    return w;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &s[0], n, nullptr, nullptr);
    return s;
}

std::string narrow(const wchar_t* wide) { return wide ? narrow(std::wstring(wide)) : std::string(); }

std::string hex_hwnd(HWND hwnd) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%lx", (unsigned long)(ULONG_PTR)hwnd);
    return buf;
}

std::string hex32(unsigned long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%lx", v);
    return buf;
}

std::string dec(long long v) { return std::to_string(v); }

static bool parse_number(const std::string& text, long long* out) {
    if (text.empty()) return false;
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long v;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        v = (long long)std::strtoull(s + 2, &end, 16);
    else
        v = std::strtoll(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0') return false;
    *out = v;
    return true;
}

HWND parse_hwnd(const std::string& text, const char* what) {
    long long v;
    if (!parse_number(text, &v) || v < 0 || v > 0xFFFFFFFFLL)
        throw CommandError(std::string("bad ") + what + " '" + text + "': expected 0x-prefixed hex or decimal");
    return (HWND)(ULONG_PTR)v;
}

long long parse_int(const std::string& text, const char* what) {
    long long v;
    if (!parse_number(text, &v))
        throw CommandError(std::string("bad ") + what + " '" + text + "': expected an integer");
    return v;
}

static std::string join_escaped(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) line += '\t';
        line += escape(fields[i]);
    }
    return line;
}

std::string Reply::format() const {
    std::string out = "OK";
    if (is_list) {
        out += "\t" + dec((long long)rows.size()) + "\n";
        for (const auto& row : rows) out += join_escaped(row) + "\n";
        return out;
    }
    if (!fields.empty()) out += "\t" + join_escaped(fields);
    return out + "\n";
}

std::string format_error(const std::string& message) { return "ERR\t" + escape(message) + "\n"; }

}  // namespace uid
