#include "payload/catalogue.h"

#include "resources/resource.h"

const char kHtmlViewFolder[] = "HtmlView";

#define INSTALL_DIR nullptr
#define HTMLVIEW kHtmlViewFolder
#define PAYLOAD_ENTRY(resourceName, nameId, englishName, folder) {resourceName, nameId, folder},
const PayloadEntry kPayloadCatalogue[kPayloadCount] = {
#include "payload/catalogue.def"
};
#undef PAYLOAD_ENTRY
#undef HTMLVIEW
#undef INSTALL_DIR
