#include "platform/RequestFiles.h"

#include <algorithm>
#include <cstring>

namespace qel {
namespace {

// A view of a shared entry with a position of its own.
class CachedFile final : public PositionedFile {
public:
    explicit CachedFile(RequestFiles::Entry& entry) : entry_(entry) {}
    int64_t Size() const override { return entry_.file->Size(); }
    size_t Read(void* buffer, size_t count) override {
        auto* out = static_cast<unsigned char*>(buffer);
        size_t done = 0;
        while (done < count && position_ < Size()) {
            const auto& block = BlockAt(position_);
            size_t offset = static_cast<size_t>(position_ % RequestFiles::kBlockSize);
            if (offset >= block.size) break;
            size_t n = std::min(count - done, block.size - offset);
            std::memcpy(out + done, block.bytes.get() + offset, n);
            done += n;
            position_ += static_cast<int64_t>(n);
        }
        return done;
    }
    // Bytes that lie in one block are seen in place.
    std::span<const uint8_t> View(int64_t position, std::span<uint8_t> scratch) override {
        if (position < 0 || position >= Size()) return PositionedFile::View(position, scratch);
        const auto& block = BlockAt(position);
        const auto offset = static_cast<size_t>(position % RequestFiles::kBlockSize);
        const size_t wanted = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(scratch.size()), Size() - position));
        if (offset + wanted > block.size) return PositionedFile::View(position, scratch);
        position_ = position + static_cast<int64_t>(wanted);
        return {block.bytes.get() + offset, wanted};
    }

private:
    const RequestFiles::Loaded& BlockAt(int64_t position) {
        const int64_t index = position / RequestFiles::kBlockSize;
        if (!last_ || index != lastIndex_) {  // most reads stay in the block of the one before
            last_ = &entry_.Block(index);
            lastIndex_ = index;
        }
        return *last_;
    }

    RequestFiles::Entry& entry_;
    const RequestFiles::Loaded* last_ = nullptr;  // map entries stay where they are
    int64_t lastIndex_ = 0;
};

}  // namespace

const RequestFiles::Loaded& RequestFiles::Entry::Block(int64_t index) {
    auto found = blocks->find(index);
    if (found != blocks->end()) return found->second;
    // Only the bytes of the block inside the file are asked for, in one read,
    // into memory that is not cleared first.
    const int64_t start = index * kBlockSize;
    Loaded block;
    const auto wanted = static_cast<size_t>(std::clamp<int64_t>(file->Size() - start, 0, kBlockSize));
    if (wanted > 0 && file->Seek(start)) {
        block.bytes = buffers->Take();
        block.size = file->Read(block.bytes.get(), wanted);
    }
    return blocks->emplace(index, std::move(block)).first->second;
}

BlockBuffers::Buffer BlockBuffers::Take() {
    if (spare_.empty()) return std::make_unique_for_overwrite<unsigned char[]>(RequestFiles::kBlockSize);
    Buffer buffer = std::move(spare_.back());
    spare_.pop_back();
    return buffer;
}

void BlockBuffers::Give(Buffer buffer) {
    if (buffer) spare_.push_back(std::move(buffer));
}

RequestFiles::~RequestFiles() {
    for (auto& [path, blocks] : blocks_)
        for (auto& [index, block] : blocks) buffers_.Give(std::move(block.bytes));
}

std::unique_ptr<BinaryFile> RequestFiles::OpenRead(const std::string& path, ShareMode share,
                                                   std::string* reason) {
    // An open that denies writers gets a handle of its own, so it fails while
    // another program holds the file for writing. A handle that denies writers
    // also serves opens that allow them: while it is held nobody writes.
    auto serves = [&](const auto& e) {
        return e->path == path && (e->share == share || (e->file && e->share == ShareMode::DenyWriters));
    };
    auto found = std::find_if(entries_.begin(), entries_.end(), serves);
    Entry* entry;
    if (found != entries_.end()) {
        entry = found->get();
    } else {
        auto fresh = std::make_unique<Entry>();
        fresh->path = path;
        fresh->share = share;
        fresh->blocks = &blocks_[path];
        fresh->buffers = &buffers_;
        fresh->file = system_.OpenRead(path, share, &fresh->reason);
        entry = fresh.get();
        entries_.push_back(std::move(fresh));
    }
    if (!entry->file) {
        if (reason) *reason = entry->reason;
        return nullptr;
    }
    return std::make_unique<CachedFile>(*entry);
}

}  // namespace qel
