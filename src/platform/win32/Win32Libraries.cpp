// LoadLibraryA with the system's file-error box suppressed and the caller's
// floating-point control words kept: a library's start-up code may change
// the x87 precision or the SSE rounding, which the host would then inherit.
#include <windows.h>

#include "platform/DynamicLibrary.h"
#include "platform/FloatControl.h"

namespace qel {
namespace {

class Win32Libraries final : public DynamicLibraries {
public:
    Handle Load(const std::string& path) override {
        UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        FloatControl saved = SaveFloatControl();
        HMODULE library = LoadLibraryA(path.c_str());
        RestoreFloatControl(saved);
        SetErrorMode(previousMode);
        return reinterpret_cast<Handle>(library);
    }
    void* Symbol(Handle library, const char* name) override {
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
    }
    void Free(Handle library) override { FreeLibrary(static_cast<HMODULE>(library)); }
};

}  // namespace

DynamicLibraries& SystemLibraries() {
    static Win32Libraries libraries;
    return libraries;
}

}  // namespace qel
