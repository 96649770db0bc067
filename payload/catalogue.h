// The thirteen files the setup program carries, in install order (payload/catalogue.def).
#pragma once
#include <windows.h>

struct PayloadEntry {
    const char* resourceName;  // resource of type "FILE" holding the compressed file
    UINT nameId;               // string table text naming the installed file
    const char* subFolder;     // "HtmlView", or nullptr for the install directory itself
};

const size_t kPayloadCount = 13;
extern const PayloadEntry kPayloadCatalogue[kPayloadCount];

// The one sub-folder of the install directory; the payload's documents go there.
extern const char kHtmlViewFolder[];
