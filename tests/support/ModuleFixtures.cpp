#include "support/ModuleFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace qel::test {
namespace {

#if defined(_WIN32)
const char kSeparator = '\\';

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}
#else
const char kSeparator = '/';
#endif

}  // namespace

void SetEnv(const std::string& name, const std::string& value) {
#if defined(_WIN32)
    SetEnvironmentVariableA(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

std::string BuiltModule(const std::string& name) {
#if defined(_WIN32)
    return WindowsPath(std::string("Z:") + QEL_MODULE_DIR + name + ".dll");
#else
    return std::string(QEL_MODULE_DIR) + name + ".dll";
#endif
}

ModuleFolder::ModuleFolder() {
    static int counter = 0;
    path_ = ScratchFolder() + "modules" + std::to_string(++counter) + kSeparator;
    // A run that ended early may have left a folder of the same name behind.
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
}

ModuleFolder::~ModuleFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ModuleFolder& ModuleFolder::Add(const std::string& built, const std::string& as) {
    std::filesystem::copy_file(BuiltModule(built), path_ + as, std::filesystem::copy_options::overwrite_existing);
    return *this;
}

ModuleFolder& ModuleFolder::AddJunk(const std::string& as) {
    WriteFileBytes(path_ + as, Bytes{'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b', 'r', 'a', 'r', 'y'});
    return *this;
}

ModuleLog::ModuleLog() : file_("modules.log") {
    std::remove(file_.path().c_str());
    SetEnv("QELTEST_MODULE_LOG", file_.path());
}

ModuleLog::~ModuleLog() { SetEnv("QELTEST_MODULE_LOG", ""); }

std::vector<std::string> ModuleLog::Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(file_.path());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> ModuleLog::Of(const std::string& module) const {
    std::vector<std::string> lines;
    for (const std::string& line : Lines())
        if (line.rfind(module + " ", 0) == 0) lines.push_back(line.substr(module.size() + 1));
    return lines;
}

Bytes PcmWavOfBytes(int rate, int channels, const Bytes& data) {
    const uint32_t dataBytes = static_cast<uint32_t>(data.size());
    Bytes b;
    Append(b, "RIFF");
    AppendLE32(b, 36 + dataBytes);
    Append(b, "WAVEfmt ");
    AppendLE32(b, 16);
    AppendLE16(b, 1);
    AppendLE16(b, static_cast<uint32_t>(channels));
    AppendLE32(b, static_cast<uint32_t>(rate));
    AppendLE32(b, static_cast<uint32_t>(rate * channels * 2));
    AppendLE16(b, static_cast<uint32_t>(channels * 2));
    AppendLE16(b, 16);
    Append(b, "data");
    AppendLE32(b, dataBytes);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bytes PcmWav(int rate, int channels, const std::vector<int16_t>& samples) {
    Bytes data;
    for (int16_t s : samples) AppendLE16(data, static_cast<uint16_t>(s));
    return PcmWavOfBytes(rate, channels, data);
}

std::vector<int16_t> TestTone(int milliseconds) {
    std::vector<int16_t> samples;
    const int frames = 8000 * milliseconds / 1000;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(static_cast<int16_t>((i * 37) % 20000 - 10000));
        samples.push_back(static_cast<int16_t>(i));
    }
    return samples;
}

DynamicLibraries::Handle CountingLibraries::Load(const std::string& path) {
    loaded.push_back(path);
    Handle library = SystemLibraries().Load(path);
    if (library) ++live;
    return library;
}

void* CountingLibraries::Symbol(Handle library, const char* name) { return SystemLibraries().Symbol(library, name); }

void CountingLibraries::Free(Handle library) {
    --live;
    SystemLibraries().Free(library);
}

}  // namespace qel::test
