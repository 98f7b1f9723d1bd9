#pragma once
// The two module slots: at most one input and one output module library is
// loaded at a time. Loading a module frees the one of the same kind first.
#include <cstdint>
#include <string>

#include "platform/DynamicLibrary.h"
#include "player/ModuleRecords.h"

namespace qel {

// What LoadModules needs from the player and hands back to it.
struct ModuleRequest {
    std::string& modulePath;    // full path of the input module; the fallback rewrites it
    const std::string& dllpath;  // module folder, prefix of every module path
    const std::string& outdll;   // output module file name
    int32_t volume;              // percent, scaled to 0..250 for the output module
    std::string& errorText;      // collects the messages
};

class ModuleSlots {
public:
    explicit ModuleSlots(DynamicLibraries& libraries = SystemLibraries()) : libraries_(libraries) {}
    // Unloading the owner tells both modules to quit and frees them, without
    // stopping them: the player stops them first.
    ~ModuleSlots();
    ModuleSlots(const ModuleSlots&) = delete;
    ModuleSlots& operator=(const ModuleSlots&) = delete;

    // True when the library loaded and exports its getter. A library without
    // the getter stays loaded until the next load or unload of its kind.
    bool LoadInModule(const std::string& path);
    bool LoadOutModule(const std::string& path);
    // Each tells the module to quit (once it was initialised) and frees it.
    void UnloadInModule();
    void UnloadOutModule();
    void UnloadAll();

    // Loads and initialises the input module of request.modulePath, hands it
    // the callbacks, then loads and initialises the output module. False with
    // the reason in request.errorText when a module is missing or broken.
    bool LoadModules(ModuleRequest request);

    // The records of the loaded modules; null when none is usable. A record
    // is forgotten when the library that owns it is freed.
    InModule* In() const { return in_; }
    OutModule* Out() const { return out_; }

    // The window handed to modules as their main window.
    void SetMainWindow(ModuleWindow window) { mainWindow_ = window; }

    bool InLoaded() const { return inLibrary_ != nullptr; }
    bool OutLoaded() const { return outLibrary_ != nullptr; }

private:
    DynamicLibraries& libraries_;
    ModuleWindow mainWindow_ = nullptr;
    DynamicLibraries::Handle inLibrary_ = nullptr;
    DynamicLibraries::Handle outLibrary_ = nullptr;
    InModuleGetter inGetter_ = nullptr;
    OutModuleGetter outGetter_ = nullptr;
    InModule* in_ = nullptr;
    OutModule* out_ = nullptr;
};

// The library's own slots, emptied by the window's clean-up.
ModuleSlots& LibraryModules();

// Writes the library's visualisation and sample-processing callbacks into an
// input record: none of them does anything but let samples pass unchanged.
void InstallCallbacks(InModule& record);

}  // namespace qel
