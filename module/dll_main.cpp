#include "module/module_instance.h"

// The loader calls this serialised. Attaching the process or a thread stores
// the module handle (the same one every time); nothing else happens, and every
// reason answers TRUE.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_THREAD_ATTACH)
        module_instance = instance;
    return TRUE;
}
