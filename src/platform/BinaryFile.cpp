#include "platform/BinaryFile.h"

namespace qel {

std::span<const uint8_t> BinaryFile::View(int64_t position, std::span<uint8_t> scratch) {
    if (!Seek(position)) return {};
    return scratch.first(Read(scratch.data(), scratch.size()));
}

std::unique_ptr<BinaryFile> OpenOrThrow(FileOpener& files, const std::string& path, ShareMode share) {
    std::string reason;
    auto file = files.OpenRead(path, share, &reason);
    if (!file) throw FileOpenError("cannot open " + path + ": " + reason);
    return file;
}

bool ReadAt(BinaryFile& file, int64_t position, void* buffer, size_t count) {
    if (!file.Seek(position)) return false;
    return file.Read(buffer, count) == count;
}

}  // namespace qel
