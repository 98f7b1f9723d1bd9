#include "support/MemoryFiles.h"

#include <algorithm>
#include <cstring>

namespace qel {

namespace {

class MemoryFile final : public PositionedFile {
public:
    explicit MemoryFile(std::shared_ptr<const MemoryFiles::Bytes> bytes) : bytes_(std::move(bytes)) {}

    int64_t Size() const override { return static_cast<int64_t>(bytes_->size()); }
    size_t Read(void* buffer, size_t count) override {
        if (position_ >= Size()) return 0;
        const size_t available = static_cast<size_t>(Size() - position_);
        const size_t n = std::min(count, available);
        if (n > 0) std::memcpy(buffer, bytes_->data() + position_, n);
        position_ += static_cast<int64_t>(n);
        return n;
    }

private:
    std::shared_ptr<const MemoryFiles::Bytes> bytes_;
};

}  // namespace

void MemoryFiles::Add(const std::string& path, Bytes contents) {
    auto bytes = std::make_shared<const Bytes>(std::move(contents));
    const std::lock_guard lock(mutex_);
    files_[path] = File{std::move(bytes), ++writes_};
}

void MemoryFiles::Remove(const std::string& path) {
    const std::lock_guard lock(mutex_);
    files_.erase(path);
}

std::unique_ptr<BinaryFile> MemoryFiles::OpenRead(const std::string& path, ShareMode, std::string* reason) {
    const std::lock_guard lock(mutex_);
    ++opens_;
    auto found = files_.find(path);
    if (found == files_.end()) {
        if (reason) *reason = "no such file";
        return nullptr;
    }
    return std::make_unique<MemoryFile>(found->second.bytes);
}

std::optional<FileStamp> MemoryFiles::Stamp(const std::string& path) {
    const std::lock_guard lock(mutex_);
    auto found = files_.find(path);
    if (found == files_.end()) return std::nullopt;
    return FileStamp{static_cast<int64_t>(found->second.bytes->size()), found->second.written};
}

int MemoryFiles::OpenCount() const {
    const std::lock_guard lock(mutex_);
    return opens_;
}

}  // namespace qel
