#pragma once
// A FileOpener for one request: however often the readers of a request open
// the same file, it is opened once, and each block of it is read once.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"

namespace qel {

// Block buffers kept from one request to the next: once the first requests
// have run, a request allocates none.
class BlockBuffers {
public:
    using Buffer = std::unique_ptr<unsigned char[]>;
    Buffer Take();  // a buffer of RequestFiles::kBlockSize bytes
    void Give(Buffer buffer);

private:
    std::vector<Buffer> spare_;
};

class RequestFiles final : public FileOpener {
public:
    // Block buffers come from `buffers` and go back to it at the end of the
    // request; without it the request has buffers of its own.
    explicit RequestFiles(FileOpener& system = SystemFiles(), BlockBuffers* buffers = nullptr)
        : system_(system), buffers_(buffers ? *buffers : own_) {}
    ~RequestFiles() override;
    RequestFiles(const RequestFiles&) = delete;
    RequestFiles& operator=(const RequestFiles&) = delete;
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason = nullptr) override;
    // Each block is read once and kept, so every later read sees the same bytes.
    bool ContentsFixed() const override { return true; }

    static constexpr int64_t kBlockSize = 16384;

    // One file as opened for this request: its handle and the blocks read so far.
    struct Entry {
        std::string path;
        std::unique_ptr<BinaryFile> file;  // null when the open failed
        std::string reason;
        // A block's bytes as read: only those inside the file.
        struct Loaded {
            std::unique_ptr<unsigned char[]> bytes;
            size_t size = 0;
        };
        std::map<int64_t, Loaded> blocks;
        BlockBuffers* buffers = nullptr;
        const Loaded& Block(int64_t index);
    };

private:
    FileOpener& system_;
    BlockBuffers own_;
    BlockBuffers& buffers_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace qel
