// Module libraries are loaded by their absolute path with their own folder
// searched first for the libraries they import (LOAD_WITH_ALTERED_SEARCH_PATH),
// with the system's file-error box suppressed and the caller's floating-point
// control words kept: a library's start-up code may change the x87 precision
// or the SSE rounding, which the host would then inherit.
#include <windows.h>

#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/FloatControl.h"

namespace qel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "X:\..." or "\\server\...": nothing left for a search to decide.
bool IsFullPath(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// "\folder\file" or "X:file": complete against the current drive or folder.
bool IsDriveRelative(const std::string& path) {
    return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == ':');
}

std::string FullPathName(const std::string& path) {
    DWORD n = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::vector<char> buffer(n + 1);
    n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return n > 0 && n < buffer.size() ? std::string(buffer.data(), n) : std::string();
}

std::string SearchedPath(const std::string& path) {
    DWORD n = SearchPathA(nullptr, path.c_str(), nullptr, 0, nullptr, nullptr);
    if (n == 0) return {};
    std::vector<char> buffer(n + 1);
    n = SearchPathA(nullptr, path.c_str(), nullptr, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return n > 0 && n < buffer.size() ? std::string(buffer.data(), n) : std::string();
}

class Win32Libraries final : public DynamicLibraries {
public:
    Handle Load(const std::string& path) override {
        const std::string full = FindLibrary(path);
        if (full.empty()) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
        UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        FloatControl saved = SaveFloatControl();
        HMODULE library = LoadLibraryExA(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
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

std::string FindLibrary(const std::string& path) {
    if (path.empty()) return {};
    const std::string full = IsFullPath(path) ? path : IsDriveRelative(path) ? FullPathName(path) : SearchedPath(path);
    return !full.empty() && GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES ? full : std::string();
}

DynamicLibraries& SystemLibraries() {
    static Win32Libraries libraries;
    return libraries;
}

}  // namespace qel
