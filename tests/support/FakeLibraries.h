#pragma once
// Libraries for tests, made of exports registered by path: loading a
// registered path gives a handle, anything else fails as a missing file does.
#include <map>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"

namespace qel {

class FakeLibraries final : public DynamicLibraries {
public:
    using Exports = std::map<std::string, void*>;
    // Makes path loadable with the given exports.
    void Add(const std::string& path, Exports exports);

    Handle Load(const std::string& path) override;
    void* Symbol(Handle library, const char* name) override;
    void Free(Handle library) override;

    std::vector<std::string> loads;  // every path asked for, in order
    int live = 0;                    // loaded and not yet freed

private:
    std::map<std::string, Exports> libraries_;
};

}  // namespace qel
