// The bytes of one of the program's own resources, as the loader mapped them: they stay
// valid, unchanged, for the life of the process.
#pragma once
#include <windows.h>

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// The resource `name` of `type` in `language`; language 0 (neutral) searches as
// FindResource does and finds it in whatever language it was stored. False when there is
// none or it cannot be loaded.
bool FindResourceBytes(LPCSTR type, LPCSTR name, WORD language, ResourceBytes* bytes);
