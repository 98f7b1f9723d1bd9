// Shared objects for the native build: the player's module logic runs
// natively against modules built as shared objects.
#include <cfenv>
#include <dlfcn.h>

#include "platform/DynamicLibrary.h"

namespace qel {
namespace {

class PosixLibraries final : public DynamicLibraries {
public:
    Handle Load(const std::string& path) override {
        std::fenv_t saved;
        std::fegetenv(&saved);
        Handle library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        std::fesetenv(&saved);
        return library;
    }
    void* Symbol(Handle library, const char* name) override { return ::dlsym(library, name); }
    void Free(Handle library) override { ::dlclose(library); }
};

}  // namespace

DynamicLibraries& SystemLibraries() {
    static PosixLibraries libraries;
    return libraries;
}

}  // namespace qel
