#include "support/TestFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/TempFolder.h"

namespace qel::test {

std::string DataPath(const std::string& name) {
#ifdef _WIN32
    return std::string("Z:") + QEL_TEST_DATA + "/" + name;
#else
    return std::string(QEL_TEST_DATA) + "/" + name;
#endif
}

std::string ScratchFolder() {
    static const std::string folder = [] {
#ifdef _WIN32
        std::string f = TempFolder() + "qeltests" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(f.c_str(), nullptr);
#else
        std::string f = TempFolder() + "qeltests" + std::to_string(getpid()) + "/";
        std::string cmd = "mkdir -p '" + f + "'";
        if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cannot create " + f);
#endif
        return f;
    }();
    return folder;
}

void WriteFileBytes(const std::string& path, const Bytes& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScratchFile::ScratchFile(const std::string& name, const Bytes& contents) : path_(ScratchFolder() + name) {
    WriteFileBytes(path_, contents);
}
ScratchFile::ScratchFile(const std::string& name) : path_(ScratchFolder() + name) {}
ScratchFile::~ScratchFile() { std::remove(path_.c_str()); }

void Append(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
void AppendLE16(Bytes& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void AppendLE32(Bytes& out, uint32_t v) {
    AppendLE16(out, v & 0xFFFF);
    AppendLE16(out, v >> 16);
}
void AppendBE16(Bytes& out, uint32_t v) {
    out.push_back((v >> 8) & 0xFF);
    out.push_back(v & 0xFF);
}
void AppendBE32(Bytes& out, uint32_t v) {
    AppendBE16(out, v >> 16);
    AppendBE16(out, v & 0xFFFF);
}
void AppendZeros(Bytes& out, size_t count) { out.insert(out.end(), count, 0); }

}  // namespace qel::test
