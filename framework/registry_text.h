// Text values of the registry, read in UTF-16 as the registry holds them.
#pragma once
#include <windows.h>

#include "framework/wide_path.h"

// The text stored under `value` of `root`\`subKey`, taken as stored (no expansion). False,
// with an empty path, when the key or the value cannot be read or the value does not fit
// a path buffer.
bool ReadRegistryPath(HKEY root, const char* subKey, const char* value, CWidePath* path);