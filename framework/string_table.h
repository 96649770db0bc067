// The localised string table. One language serves the whole run: French for a user
// interface whose primary language is French, English otherwise.
#pragma once
#include <windows.h>

#include "framework/text.h"

// The language tag of the table this run uses: 0x100C (French) or 0x0400 (English).
LANGID TextLanguage();
// The text of `id` in the run's language, in the system's ANSI code page; empty if absent.
CText LoadText(UINT id);
// The text of `id` in the run's language as the table holds it, in UTF-16 and not
// terminated: *length units, valid for the life of the process. Null when absent.
const WCHAR* LoadWideText(UINT id, int* length);
// The text of `id` with every "%1" replaced by `argument`. The argument is not rescanned,
// so a path that holds "%" itself is shown as it is.
CText FormatText(UINT id, const char* argument);
