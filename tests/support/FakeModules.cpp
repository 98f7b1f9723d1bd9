#include "support/FakeModules.h"

#include <stdexcept>

namespace qel::test {
namespace {

FakeModules* active = nullptr;

// Slots that outlive the fakes still tell their modules to quit: nobody listens then.
void Note(const std::string& call) {
    if (active) active->calls.push_back(call);
}
// "WORD N", built by appending (GCC 12 warns falsely on a literal plus a temporary).
void Note(const char* word, int value) {
    std::string text = word;
    text += ' ';
    text += std::to_string(value);
    Note(text);
}

void QEL_CDECL Config(ModuleWindow w) { Note(w ? "Config window" : "Config"); }
void QEL_CDECL About(ModuleWindow w) { Note(w ? "About window" : "About"); }
void QEL_CDECL Init() { Note("Init"); }
void QEL_CDECL Quit() { Note("Quit"); }
int QEL_CDECL InfoBox(char* file, ModuleWindow) {
    Note(std::string("InfoBox ") + file);
    return 0;
}
int QEL_CDECL Play(char* file) {
    Note(std::string("Play ") + file);
    if (active->playThrows) throw std::runtime_error("inside Play");
    if (active->playRewinds) active->position = 0;
    return active->playResult;
}
void QEL_CDECL Pause() { Note("Pause"); }
void QEL_CDECL UnPause() { Note("UnPause"); }
void QEL_CDECL Stop() { Note("Stop"); }
int QEL_CDECL GetLength() { return active->length; }
int QEL_CDECL GetOutputTime() { return active->position; }
void QEL_CDECL SetOutputTime(int ms) {
    Note("SetOutputTime", ms);
    active->position = ms;
}
void QEL_CDECL SetVolume(int v) { Note("SetVolume", v); }
void QEL_CDECL SetPan(int p) { Note("SetPan", p); }
void QEL_CDECL EQSet(int on, char bands[10], int preamp) {
    std::string text = "EQSet ";
    text += std::to_string(on);
    for (int i = 0; i < 10; ++i) {
        text += i ? ',' : ' ';
        text += std::to_string(static_cast<unsigned char>(bands[i]));
    }
    text += ' ';
    text += std::to_string(preamp);
    Note(text);
}
InModule* QEL_CDECL GetIn() { return &active->in; }
InModule* QEL_CDECL GetNoIn() { return nullptr; }

void QEL_CDECL OutInit() { Note("out Init"); }
void QEL_CDECL OutQuit() { Note("out Quit"); }
void QEL_CDECL OutSetVolume(int v) { Note("out SetVolume", v); }
OutModule* QEL_CDECL GetOut() { return &active->out; }

void* Export(auto function) { return reinterpret_cast<void*>(function); }

}  // namespace

FakeModules::FakeModules() {
    active = this;
    in.version = kInModuleVersion;
    in.Config = Config;
    in.About = About;
    in.Init = Init;
    in.Quit = Quit;
    in.InfoBox = InfoBox;
    in.Play = Play;
    in.Pause = Pause;
    in.UnPause = UnPause;
    in.Stop = Stop;
    in.GetLength = GetLength;
    in.GetOutputTime = GetOutputTime;
    in.SetOutputTime = SetOutputTime;
    in.SetVolume = SetVolume;
    in.SetPan = SetPan;
    in.EQSet = EQSet;
    out.version = kOutModuleVersion;
    out.Init = OutInit;
    out.Quit = OutQuit;
    out.SetVolume = OutSetVolume;
}

FakeModules::~FakeModules() { active = nullptr; }

void FakeModules::AddInput(const std::string& path, bool nullRecord) {
    libraries.Add(path, {{kInModuleGetterName, nullRecord ? Export(GetNoIn) : Export(GetIn)}});
}

void FakeModules::AddOutput(const std::string& path) {
    libraries.Add(path, {{kOutModuleGetterName, Export(GetOut)}});
}

std::vector<std::string> FakeModules::TakeCalls() {
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

}  // namespace qel::test
