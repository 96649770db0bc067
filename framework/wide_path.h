// A path in UTF-16, the system's own text, held in a path buffer of the system's size.
// The user's folders are read and links are named this way, so a folder whose name lies
// outside the system's ANSI code page is found as it is, never as a look-alike.
//
// Every change that would pass kMaxPathChars, or a text that cannot be converted, fails
// the path: it is then empty and stays failed, and the operation that needed it skips.
#pragma once
#include <windows.h>

#include "framework/path.h"
#include "framework/text.h"

// The length of a terminated UTF-16 text, in units.
size_t WideLength(const WCHAR* text);

class CWidePath {
public:
    bool Assign(const WCHAR* text, size_t length);
    // From the system's ANSI code page.
    bool AssignAnsi(const char* text);
    // Adds "\" + `name` (null: nothing), without doubling a backslash that ends the path.
    bool Join(const WCHAR* name, size_t length);
    bool JoinAnsi(const char* name);

    const WCHAR* c_str() const { return m_text; }
    size_t Length() const { return m_length; }
    // True when a directory entry of that name exists, file or folder alike.
    bool Exists() const;
    // The same path in the system's ANSI code page, only when every character has its own
    // code there: a look-alike would name another file.
    bool ToAnsi(CText* ansi) const;

private:
    bool Append(const WCHAR* text, size_t length);
    bool Fail();

    WCHAR m_text[kMaxPathChars + 1] = {};
    size_t m_length = 0;
    bool m_failed = false;
};
