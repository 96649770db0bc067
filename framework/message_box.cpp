#include "framework/message_box.h"

#include "framework/program_name.h"

int ShowMessage(HWND owner, const char* text, UINT style, const char* caption) {
    return MessageBoxA(owner, text, caption ? caption : ProgramName().c_str(), style);
}
