// The words in which the internet layer explains one of its errors.
#pragma once
#include <windows.h>

#include "framework/failure.h"

// The internet layer's DLL, loaded from the system directory at run time.
extern const char kInternetDll[];

// The internet layer's text for `code` (its own message table first, then the system's),
// without the trailing line break; "Internal application error." when neither has one.
CText InternetErrorText(DWORD code);
// The failure to raise when the internet layer reported `code`.
CFailure RaiseInternetError(DWORD code);
