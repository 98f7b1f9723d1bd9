// A library whose start-up code changes the floating-point control settings,
// as some real libraries do, and notes the system error mode it was loaded
// under.
#include "ModuleLog.h"

#if defined(_WIN32)
#include <windows.h>

namespace {
unsigned loadErrorMode = 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        loadErrorMode = SetErrorMode(0);
        SetErrorMode(loadErrorMode);
        // x87 precision cut to 24 bits; SSE rounding toward zero. Exceptions stay masked.
        unsigned short x87 = 0x007F;
        unsigned sse = 0x7F80;
        __asm__ __volatile__("fldcw %0" : : "m"(x87));
        __asm__ __volatile__("ldmxcsr %0" : : "m"(sse));
    }
    return TRUE;
}

MODULE_EXPORT unsigned QEL_CDECL probeErrorMode() { return loadErrorMode; }

#else
#include <cfenv>

__attribute__((constructor)) static void ChangeRounding() { std::fesetround(FE_UPWARD); }

MODULE_EXPORT unsigned QEL_CDECL probeErrorMode() { return 0; }

#endif
