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

// The operating system's loader. It loads a library by its absolute path
// with the library's own folder searched first for what the library imports.
DynamicLibraries& SystemLibraries();

// The absolute path at which the system's loader finds a library: a relative
// path is looked up the way the loader looks up names, the program's folder
// first. Empty when there is no such file.
std::string FindLibrary(const std::string& path);

}  // namespace qel
