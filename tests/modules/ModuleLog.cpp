#include "ModuleLog.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace testmodule {

std::string Env(const char* name) {
#if defined(_WIN32)
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
#else
    const char* value = std::getenv(name);
    return value ? value : "";
#endif
}

std::string OwnFileName() {
    std::string path;
#if defined(_WIN32)
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnFileName), &self);
    char buffer[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(self, buffer, sizeof buffer);
    path.assign(buffer, n < sizeof buffer ? n : 0);
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnFileName), &info) && info.dli_fname) path = info.dli_fname;
#endif
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Log(const std::string& text) {
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::string file = Env("QELTEST_MODULE_LOG");
    if (file.empty()) return;
    std::string line = OwnFileName() + " " + text + "\n";
    if (FILE* f = std::fopen(file.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

}  // namespace testmodule
