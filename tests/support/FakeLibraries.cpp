#include "support/FakeLibraries.h"

namespace qel {

void FakeLibraries::Add(const std::string& path, Exports exports) { libraries_[path] = std::move(exports); }

DynamicLibraries::Handle FakeLibraries::Load(const std::string& path) {
    loads.push_back(path);
    auto it = libraries_.find(path);
    if (it == libraries_.end()) return nullptr;
    ++live;
    return &it->second;
}

void* FakeLibraries::Symbol(Handle library, const char* name) {
    auto& exports = *static_cast<Exports*>(library);
    auto it = exports.find(name);
    return it == exports.end() ? nullptr : it->second;
}

void FakeLibraries::Free(Handle) { --live; }

}  // namespace qel
