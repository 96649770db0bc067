#include "payload/catalogue.h"

#include "resources/resource.h"

const char kHtmlViewFolder[] = "\\HtmlView";

const PayloadEntry kPayloadCatalogue[kPayloadCount] = {
    {"SONDREL", IDS_FILE_MAIN_APP, nullptr},
    {"TOLVANE", IDS_FILE_TRAY, nullptr},
    {"README", IDS_FILE_README, kHtmlViewFolder},
    {"LOGOJPG", IDS_FILE_LOGO, kHtmlViewFolder},
    {"MANUAL", IDS_FILE_MANUAL, kHtmlViewFolder},
    {"FVTEMPLATE", IDS_FILE_TEMPLATE, kHtmlViewFolder},
    {"PFVTEMPLATE", IDS_FILE_TEMPLATE_P, kHtmlViewFolder},
    {"EDF1", IDS_FILE_CSV_SAMPLE, nullptr},
    {"EDF2", IDS_FILE_HTML_SAMPLE, nullptr},
    {"UNINST", IDS_FILE_UNINSTALL, nullptr},
    {"PLAYER", IDS_FILE_PLAYER, nullptr},
    {"XAUDIO", IDS_FILE_DECODER, nullptr},
    {"WEBSITE", IDS_FILE_WEBSITE, nullptr},
};
