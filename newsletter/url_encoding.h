// Percent-encoding of a value that goes into a URL's query.
#pragma once
#include "framework/text.h"

// `value` with every byte other than letters, digits, "-", ".", "_", "~" and "@" written
// as "%" and two capital hex digits, so that no character of the value ("&", "+", "%",
// "#", "/" and the like) can change how the server splits the query. An ordinary e-mail
// address comes back unchanged.
CText PercentEncoded(const char* value);
