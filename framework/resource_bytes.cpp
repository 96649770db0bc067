#include "framework/resource_bytes.h"

#include "framework/app.h"

bool FindResourceBytes(LPCSTR type, LPCSTR name, WORD language, ResourceBytes* bytes) {
    *bytes = ResourceBytes();
    HMODULE module = AfxGetInstanceHandle();
    HRSRC found = FindResourceExA(module, type, name, language);  // language 0 is FindResource's own search
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    bytes->data = static_cast<const BYTE*>(data);
    bytes->size = SizeofResource(module, found);
    return true;
}
