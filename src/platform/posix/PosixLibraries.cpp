// Shared objects for the native build: the player's module logic runs
// natively against modules built as shared objects.
#include <cfenv>
#include <dlfcn.h>

#include <filesystem>

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

std::string FindLibrary(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) return {};
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? std::string() : full.lexically_normal().string();
}

DynamicLibraries& SystemLibraries() {
    static PosixLibraries libraries;
    return libraries;
}

}  // namespace qel
