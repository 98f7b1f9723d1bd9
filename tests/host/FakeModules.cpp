#include "host/FakeModules.h"

#include <cstring>

namespace qel::test {

namespace {

FakeModuleState g_state;
void Log(std::string call) { g_state.calls.push_back(std::move(call)); }

void QEL_CDECL InInit() { Log("Init"); }
void QEL_CDECL InWindow(ModuleWindow) { Log("Dialog"); }
int QEL_CDECL InInfoBox(char* file, ModuleWindow) {
    Log(std::string("InfoBox ") + file);
    return 0;
}
int QEL_CDECL InPlay(char* file) {
    Log(std::string("Play ") + file);
    g_state.position = 0;
    return g_state.playResult;
}
void QEL_CDECL InPause() { Log("Pause"); }
void QEL_CDECL InUnPause() { Log("UnPause"); }
void QEL_CDECL InStop() { Log("Stop"); }
int QEL_CDECL InLength() { return g_state.length; }
int QEL_CDECL InTime() { return g_state.position; }
void QEL_CDECL InSeek(int ms) { g_state.position = ms; }
void QEL_CDECL InInt(int) {}
void QEL_CDECL InEq(int on, char*, int) { Log("EQSet " + std::to_string(on)); }
void QEL_CDECL OutInit() {}
void QEL_CDECL OutVolume(int) {}

InModule* QEL_CDECL GetIn() {
    static InModule record = [] {
        InModule r{};
        r.version = kInModuleVersion;
        r.Config = InWindow;
        r.About = InWindow;
        r.Init = InInit;
        r.InfoBox = InInfoBox;
        r.Play = InPlay;
        r.Pause = InPause;
        r.UnPause = InUnPause;
        r.Stop = InStop;
        r.GetLength = InLength;
        r.GetOutputTime = InTime;
        r.SetOutputTime = InSeek;
        r.SetVolume = InInt;
        r.SetPan = InInt;
        r.EQSet = InEq;
        return r;
    }();
    return &record;
}

OutModule* QEL_CDECL GetOut() {
    static OutModule record = [] {
        OutModule r{};
        r.version = kOutModuleVersion;
        r.Init = OutInit;
        r.SetVolume = OutVolume;
        return r;
    }();
    return &record;
}

void* InHandle() { return reinterpret_cast<void*>(&GetIn); }
void* OutHandle() { return reinterpret_cast<void*>(&GetOut); }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

FakeModuleState& FakeModule() { return g_state; }

DynamicLibraries::Handle FakeLibraries::Load(const std::string& path) {
    for (const std::string& name : present_)
        if (EndsWith(path, name)) return name.rfind("out_", 0) == 0 ? OutHandle() : InHandle();
    return nullptr;
}

void* FakeLibraries::Symbol(Handle library, const char* name) {
    if (library == InHandle() && std::strcmp(name, kInModuleGetterName) == 0)
        return InHandle();
    if (library == OutHandle() && std::strcmp(name, kOutModuleGetterName) == 0)
        return OutHandle();
    return nullptr;
}

}  // namespace qel::test
