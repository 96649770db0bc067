// Runs the setup program's shell and settings operations on their own, so that tests can
// look at what they leave on disk with independent tools.
//   shell_host shortcuts INSTALL_DIR   the nine shortcuts (object library started here)
//   shell_host remove-old              the previous version's shortcuts; status 1 on failure
//   shell_host setting KEY VALUE       one key of the settings file's "Setup" section
#include <cstring>

#include "payload/catalogue.h"
#include "shell/old_shortcuts.h"
#include "shell/settings.h"
#include "shell/shortcuts.h"

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "shortcuts") == 0) {
        CreateShortcuts(nullptr, argv[2], kHtmlViewFolder);
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "remove-old") == 0) return RemoveOldShortcuts() ? 0 : 1;
    if (argc == 4 && strcmp(argv[1], "setting") == 0) return WriteSetupSetting(argv[2], argv[3]) ? 0 : 1;
    return 2;
}
