// The files the setup program carries, in install order (payload/catalogue.def).
#pragma once
#include <windows.h>

struct PayloadEntry {
    const char* resourceName;  // resource of type "FILE" holding the compressed file
    UINT nameId;               // string table text naming the installed file
    const char* subFolder;     // "HtmlView", or nullptr for the install directory itself
};

// As many as catalogue.def has rows.
#define PAYLOAD_ENTRY(resourceName, nameId, englishName, folder) +1
const size_t kPayloadCount = 0
#include "payload/catalogue.def"
    ;
#undef PAYLOAD_ENTRY
extern const PayloadEntry kPayloadCatalogue[kPayloadCount];

// The one sub-folder of the install directory; the payload's documents go there.
extern const char kHtmlViewFolder[];
