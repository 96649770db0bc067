// The product, its release and the setup program's own name, written once. The string
// tables, the dialog template, the version resource and the program take them from here; the build
// reads them for the manifest and the signature's description (cmake/product.cmake).
#pragma once

#define PRODUCT_NAME             "[ mp3 - sondrel ]"  // also its program group and installed-apps entry
#define PRODUCT_COMPANY          "Sondrel Software"   // its publisher
#define PRODUCT_VERSION_TEXT     "4.3.0a"    // the release as users read it
#define PRODUCT_VERSION_NUMBERS  4,3,0,1     // the same as the four numbers of a file version
#define SETUP_CAPTION            "[ mp3 - sondrel ] setup"  // also how a second copy finds the dialog
