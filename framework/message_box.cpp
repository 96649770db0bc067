#include "framework/message_box.h"

#include "framework/busy.h"
#include "framework/program_name.h"

int ShowMessage(HWND owner, const char* text, UINT style, const char* caption) {
    DiscardPendingInput();  // a key pressed before the box appeared is not its answer
    return MessageBoxA(owner, text, caption ? caption : ProgramName().c_str(), style);
}
