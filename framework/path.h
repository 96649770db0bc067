// Path texts in the system's ANSI code page. Paths are joined one way, with JoinPath, and
// measured against one limit, with FitsPathLimit.
#pragma once
#include "framework/text.h"

// The longest path the program builds, in characters as the system counts them (UTF-16
// units, whatever the code page): a path buffer of the system (MAX_PATH) less its
// terminator.
const size_t kMaxPathChars = 259;

// `folder` + "\" + `name`, without doubling a backslash that ends `folder`; `folder`
// itself when `name` is null (no sub-folder).
CText JoinPath(const CText& folder, const char* name);
// True when `path` was built whole and is no longer than kMaxPathChars characters: a
// double-byte character counts once, as the system sees it.
bool FitsPathLimit(const CText& path);
