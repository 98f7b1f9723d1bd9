// Modules that misbehave on purpose, one kind per build:
//   BROKEN_NO_GETTER    a library without the getter export
//   BROKEN_NULL_IN      an input getter that returns no record
//   BROKEN_NULL_OUT     an output getter that returns no record
//   BROKEN_PLAY_FAILS   an input module whose Play always fails
#include <string>

#include "ModuleLog.h"

using namespace qel;
using testmodule::Log;

#if defined(BROKEN_NO_GETTER)

MODULE_EXPORT int QEL_CDECL notTheGetter() { return 0; }

#elif defined(BROKEN_NULL_IN)

MODULE_EXPORT InModule* QEL_CDECL winampGetInModule2() {
    Log("getter");
    return nullptr;
}

#elif defined(BROKEN_NULL_OUT)

MODULE_EXPORT OutModule* QEL_CDECL winampGetOutModule() {
    Log("getter");
    return nullptr;
}

#elif defined(BROKEN_PLAY_FAILS)

namespace {

void QEL_CDECL Window(ModuleWindow) {}
void QEL_CDECL Init() { Log("Init"); }
void QEL_CDECL Nothing() {}
void QEL_CDECL Stop() { Log("Stop"); }
int QEL_CDECL Zero() { return 0; }
int QEL_CDECL Play(char* file) {
    Log(std::string("Play ") + file + " 1");
    return 1;
}
void QEL_CDECL SetInt(int) {}
void QEL_CDECL EQSet(int, char*, int) {}

char description[] = "failing test input";
InModule record = {kInModuleVersion, description, nullptr, nullptr, nullptr, 0, 1, Window, Window, Init,
                   Nothing, nullptr, nullptr, nullptr, Play, Nothing, Nothing, Zero, Stop, Zero, Zero,
                   SetInt, SetInt, SetInt, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr, EQSet, nullptr, nullptr};

}  // namespace

MODULE_EXPORT InModule* QEL_CDECL winampGetInModule2() { return &record; }

#endif
