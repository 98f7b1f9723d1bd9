// The library's exported functions: the host entry points and one thunk per
// command and field export. The export directory itself is generated from
// host/ExportTable.inc; every function here is cdecl and lets nothing escape.
#include <windows.h>

#include <cstdint>

#include "host/ExportTable.h"
#include "host/PluginState.h"
#include "host/win32/Win32PluginWindow.h"

using qel::Plugin;

namespace {

// Creates the window object inside the host window; a second call keeps the first.
void CreatePlugin(HWND host) {
    if (Plugin().form != nullptr) return;
    HWND hostParent = GetParent(host);
    auto* window = new qel::win32::Win32PluginWindow(host, hostParent ? hostParent : host);
    if (hostParent) window->DetachFromParent();
    qel::Tformplug& form = window->form();
    form.pl.Preamp = 32;
    form.pl.Bands.fill(32);
    Plugin().form = &form;
}

}  // namespace

extern "C" {

// A FreeLibrary while the process goes on: the host destroyed its window
// before (and so everything was released then), or windows of the library
// are still there and must not outlive its code. At process exit the system
// tears everything down: nothing is touched then.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) qel::win32::ForgetLibraryWindows();
    return TRUE;
}

void __cdecl qelx_SetParentWindow(HWND host) {
    try {
        CreatePlugin(host);
    } catch (...) {
    }
}

void __cdecl qelx_Draw(int32_t, int32_t left, int32_t top, int32_t width, int32_t height) {
    try {
        if (Plugin().form) Plugin().form->Draw(left, top, width, height, Plugin().windowMode);
    } catch (...) {
    }
}

void __cdecl qelx_SetPath(const char* text) {
    try {
        Plugin().path = text ? text : "";
    } catch (...) {
    }
}

void __cdecl qelx_SetFile(const char* text) {
    try {
        Plugin().file = text ? text : "";
    } catch (...) {
    }
}

const char* __cdecl qelx_GetFile() { return Plugin().file.c_str(); }

int32_t __cdecl qelx_SetData(int32_t value) { return Plugin().data = value; }

int32_t __cdecl qelx_GetData() { return Plugin().data; }

int32_t __cdecl qelx_GetType() { return 0; }

const char* __cdecl qelx_GetShortInfo() { return qel::kShortInfo; }

const char* __cdecl qelx_GetInfo() { return qel::kInfo; }

const char* __cdecl qelx_Copyright() { return qel::kCopyright; }

void __cdecl qelx_Settings() { MessageBoxA(nullptr, qel::kSettingsText, "qelplugin", MB_OK); }

#define QEL_THUNK(name) \
    void __cdecl qelx_##name() { qel::RunExport(&qel::exports::name); }
#define QEL_COMMAND(name, ordinal, second) QEL_THUNK(name)
#define QEL_EMPTY(name, ordinal, second) QEL_THUNK(name)
#define QEL_SOUND_FIELD(name, ordinal, field) QEL_THUNK(name)
#define QEL_TAG_FIELD(name, ordinal, field) QEL_THUNK(name)
#define QEL_ENTRY(name, ordinal, second)
#include "host/ExportTable.inc"
#undef QEL_THUNK

}  // extern "C"
