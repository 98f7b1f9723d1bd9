#pragma once
// Helpers for tests that load our test modules (tests/modules): module
// folders per scenario, the modules' call log and PCM WAV files.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "support/TestFiles.h"

namespace qel::test {

// Sets a variable of this process's environment, which the modules read.
void SetEnv(const std::string& name, const std::string& value);

// A fresh folder that holds copies of built test modules under the names
// the player asks for. Removed with its contents when the object dies.
class ModuleFolder {
public:
    ModuleFolder();
    ~ModuleFolder();
    ModuleFolder(const ModuleFolder&) = delete;
    ModuleFolder& operator=(const ModuleFolder&) = delete;
    // Copies the built module `built` (e.g. "in_wave") into the folder as `as`.
    ModuleFolder& Add(const std::string& built, const std::string& as);
    // Puts a file that is not a library into the folder under the name `as`.
    ModuleFolder& AddJunk(const std::string& as);
    // The folder with its trailing separator.
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> files_;
};

// The path of a built test module in the build tree.
std::string BuiltModule(const std::string& name);

// The call log the modules append to, named in QELTEST_MODULE_LOG for the
// object's lifetime; starts empty.
class ModuleLog {
public:
    ModuleLog();
    ~ModuleLog();
    std::vector<std::string> Lines() const;
    // The lines that start with the module file name, without it.
    std::vector<std::string> Of(const std::string& module) const;

private:
    ScratchFile file_;
};

// A PCM WAV file's bytes with the given samples (16-bit little endian).
Bytes PcmWav(int rate, int channels, const std::vector<int16_t>& samples);
// The same around sample bytes given as they are.
Bytes PcmWavOfBytes(int rate, int channels, const Bytes& data);
// A tone of the given length, interleaved stereo 16-bit at 8000 Hz.
std::vector<int16_t> TestTone(int milliseconds);

// Counts loads and frees, passing everything to the system loader.
class CountingLibraries final : public DynamicLibraries {
public:
    Handle Load(const std::string& path) override;
    void* Symbol(Handle library, const char* name) override;
    void Free(Handle library) override;
    std::vector<std::string> loaded;  // every path asked for
    int live = 0;                     // libraries loaded and not yet freed
};

}  // namespace qel::test
