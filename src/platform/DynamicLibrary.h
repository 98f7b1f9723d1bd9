#pragma once
// Loading code libraries at run time: load one by path, look up an export,
// free it again.
#include <string>

namespace qel {

class DynamicLibraries {
public:
    using Handle = void*;

    virtual ~DynamicLibraries() = default;
    // Loads the library at path; null when it cannot be loaded. No message
    // box is shown for a file that cannot be opened, and the floating-point
    // control settings of the caller are the same afterwards, whatever the
    // library's start-up code did to them.
    virtual Handle Load(const std::string& path) = 0;
    // The address of the named export, or null.
    virtual void* Symbol(Handle library, const char* name) = 0;
    virtual void Free(Handle library) = 0;
};

// The operating system's loader.
DynamicLibraries& SystemLibraries();

}  // namespace qel
