/* Stand-in for the decoder library, "xaudio.dll".
 *
 * It is not the product's decoder: it is a tiny library of our own that the setup
 * program installs in its place. It exports one function, undecorated (see xaudio.def),
 * which the player stand-in calls to show that it found the library in its own folder. */
#include <windows.h>

const char *__stdcall XaudioDecoderVersion(void)
{
    return "xaudio stand-in 4.3.0a";
}

BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(inst);
    return TRUE;
}
