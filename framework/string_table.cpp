#include "framework/string_table.h"

#include "framework/resource_bytes.h"

namespace {

const LANGID kEnglishTable = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
const LANGID kFrenchTable = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_SWISS);

// A string resource block holds sixteen counted UTF-16 texts; the text of `id` is
// entry id % 16 of block id / 16 + 1. Gives nullptr when the language has no block.
const WCHAR* FindInTable(UINT id, LANGID language, int* length) {
    ResourceBytes block;
    if (!FindResourceBytes(reinterpret_cast<LPCSTR>(RT_STRING), MAKEINTRESOURCEA(id / 16 + 1), language, &block))
        return nullptr;
    const WCHAR* p = reinterpret_cast<const WCHAR*>(block.data);
    const WCHAR* end = p + block.size / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16; ++i) {
        if (p >= end) return nullptr;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) return nullptr;
    *length = *p;
    return p + 1;
}

CText ToAnsi(const WCHAR* text, int length) {
    CText out;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    char* buffer = bytes > 0 ? out.GetBuffer(static_cast<size_t>(bytes)) : nullptr;
    if (!buffer) return out;
    WideCharToMultiByte(CP_ACP, 0, text, length, buffer, bytes, nullptr, nullptr);
    buffer[bytes] = '\0';
    out.ReleaseBuffer();
    return out;
}

}  // namespace

LANGID TextLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_FRENCH ? kFrenchTable : kEnglishTable;
}

const WCHAR* LoadWideText(UINT id, int* length) {
    *length = 0;
    const WCHAR* text = FindInTable(id, TextLanguage(), length);
    return text ? text : FindInTable(id, kEnglishTable, length);
}

CText LoadText(UINT id) {
    int length = 0;
    const WCHAR* text = LoadWideText(id, &length);
    return text ? ToAnsi(text, length) : CText();
}

CText FormatText(UINT id, const char* argument) { return LoadText(id).Replaced("%1", argument); }
