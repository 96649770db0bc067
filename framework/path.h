// Path texts in the system's ANSI code page.
#pragma once
#include "framework/text.h"

// True when the last character (not merely the last byte: a double-byte character may
// end in the byte of "\") is a backslash.
bool EndsWithBackslash(const CText& path);
// `folder` + "\" + `name`, without doubling a backslash that ends `folder`.
CText JoinPath(const CText& folder, const char* name);

// True when a directory entry of that name exists, file or folder alike.
bool EntryExists(const char* path);
