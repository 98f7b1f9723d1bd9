#pragma once
// A FileOpener for one request: however often the readers of a request open
// the same file with the same sharing rule, it is opened once, and each block
// of it is read once whatever rule it was opened with.
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
    std::optional<FileStamp> Stamp(const std::string& path) override { return system_.Stamp(path); }
    // Each block is read once and kept, so every later read sees the same bytes.
    bool ContentsFixed() const override { return true; }

    static constexpr int64_t kBlockSize = 16384;

    // A block's bytes as read: only those inside the file.
    struct Loaded {
        std::unique_ptr<unsigned char[]> bytes;
        size_t size = 0;
    };
    // The blocks of one file read so far, by index, whichever open read them.
    using Blocks = std::map<int64_t, Loaded>;

    // One open of a file for this request: its sharing rule and handle.
    struct Entry {
        std::string path;
        ShareMode share = ShareMode::AllowWriters;
        std::unique_ptr<BinaryFile> file;  // null when the open failed
        std::string reason;
        Blocks* blocks = nullptr;  // those of the path, shared by its opens
        BlockBuffers* buffers = nullptr;
        const Loaded& Block(int64_t index);
    };

private:
    FileOpener& system_;
    BlockBuffers own_;
    BlockBuffers& buffers_;
    std::map<std::string, Blocks> blocks_;  // by path
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace qel
