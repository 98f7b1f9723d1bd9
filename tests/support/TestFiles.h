#pragma once
// Helpers for tests that need real files: fixture paths and scratch files.
#include <cstdint>
#include <string>
#include <vector>

namespace qel::test {

using Bytes = std::vector<uint8_t>;

// Path of a committed fixture in tests/data, usable by the platform's file API.
std::string DataPath(const std::string& name);

// A file in a scratch folder of this test run, removed when the object dies.
class ScratchFile {
public:
    ScratchFile(const std::string& name, const Bytes& contents);
    explicit ScratchFile(const std::string& name);  // path only, nothing written
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The scratch folder (with a trailing separator), created on first use.
std::string ScratchFolder();

void WriteFileBytes(const std::string& path, const Bytes& contents);
Bytes ReadFileBytes(const std::string& path);

// Byte builders.
void Append(Bytes& out, const std::string& text);
void AppendLE16(Bytes& out, uint32_t v);
void AppendLE32(Bytes& out, uint32_t v);
void AppendBE16(Bytes& out, uint32_t v);
void AppendBE32(Bytes& out, uint32_t v);
void AppendZeros(Bytes& out, size_t count);

}  // namespace qel::test
