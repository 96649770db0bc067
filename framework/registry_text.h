// Text values of the registry.
#pragma once
#include <windows.h>

#include "framework/text.h"

// The text stored under `value` of `root`\`subKey`, taken as stored (no expansion). False,
// with an empty text, when the key or the value cannot be read or the value does not fit
// a path buffer.
bool ReadRegistryText(HKEY root, const char* subKey, const char* value, CText* text);
