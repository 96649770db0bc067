// Wire protocol of the UI driver: escaping, field splitting, UTF-8 <-> UTF-16,
// number formatting/parsing and the reply type.
//
// A request is one line: a verb and arguments separated by single TABs.
// A reply is one line "OK<TAB>field..." or "ERR<TAB>message"; a list reply is
// "OK<TAB>N" followed by N lines, each a TAB-separated record.
// In every text, backslash, newline, carriage return and tab are escaped as
// \\ \n \r \t. Texts are UTF-8 on the wire.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace uid {

// A command failed in an expected way; its message becomes "ERR<TAB>message".
struct CommandError : std::runtime_error {
    explicit CommandError(const std::string& msg) : std::runtime_error(msg) {}
};

// Also makes the text valid UTF-8 (invalid sequences become U+FFFD).
std::string escape(const std::string& text);
// Undoes escape(). An unknown escape sequence such as "\x" is kept as "x";
// a trailing lone backslash is kept as a backslash.
std::string unescape(const std::string& text);

// Splits on every TAB (so empty fields are kept) and unescapes each field.
std::vector<std::string> split_request(const std::string& line);

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& wide);
std::string narrow(const wchar_t* wide);

std::string hex_hwnd(HWND hwnd);      // "0x1a2b", "0x0" for NULL
std::string hex32(unsigned long v);  // "0x50010000"
std::string dec(long long v);

// Accepts "0x..." hex or decimal. Throws CommandError naming `what`.
HWND parse_hwnd(const std::string& text, const char* what = "hwnd");
long long parse_int(const std::string& text, const char* what);

struct Reply {
    std::vector<std::string> fields;             // after "OK"; raw (unescaped) texts
    bool is_list = false;
    std::vector<std::vector<std::string>> rows;  // list records, raw texts

    Reply& add(const std::string& f) { fields.push_back(f); return *this; }
    // Formats the whole reply, escaped, each line ending in "\n".
    std::string format() const;
};

std::string format_error(const std::string& message);

}  // namespace uid
