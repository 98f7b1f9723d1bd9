#pragma once
// The plug-in as qelhost sees it: its entry points and its exports by name
// or ordinal.
#include <windows.h>

#include <cstdint>
#include <string>

namespace qel::host {

struct Plugin {
    HMODULE library = nullptr;
    void(__cdecl* SetParentWindow)(HWND) = nullptr;
    void(__cdecl* Draw)(int32_t, int32_t, int32_t, int32_t, int32_t) = nullptr;
    void(__cdecl* SetPath)(const char*) = nullptr;
    void(__cdecl* SetFile)(const char*) = nullptr;
    const char*(__cdecl* GetFile)() = nullptr;
    int32_t(__cdecl* SetData)(int32_t) = nullptr;
    int32_t(__cdecl* GetData)() = nullptr;
    int32_t(__cdecl* GetType)() = nullptr;
    const char*(__cdecl* GetShortInfo)() = nullptr;
    const char*(__cdecl* GetInfo)() = nullptr;
    const char*(__cdecl* Copyright)() = nullptr;

    template <class F>
    bool Find(F& target, const char* name) {
        target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
        return target != nullptr;
    }
    bool Load(const std::string& path) {
        library = LoadLibraryA(path.c_str());
        return library && Find(SetParentWindow, "SetParentWindow") && Find(Draw, "Draw") &&
               Find(SetPath, "SetPath") && Find(SetFile, "SetFile") && Find(GetFile, "GetFile") &&
               Find(SetData, "SetData") && Find(GetData, "GetData") && Find(GetType, "GetType") &&
               Find(GetShortInfo, "GetShortInfo") && Find(GetInfo, "GetInfo") && Find(Copyright, "Copyright");
    }
    using Command = void(__cdecl*)();
    Command Export(const std::string& name) const {
        return reinterpret_cast<Command>(reinterpret_cast<void*>(GetProcAddress(library, name.c_str())));
    }
    Command Export(int ordinal) const {
        return reinterpret_cast<Command>(
            reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)))));
    }
    std::string File() const { return GetFile ? std::string(GetFile()) : std::string(); }
};

}  // namespace qel::host
