#pragma once
// A FileOpener for one request: however often the readers of a request open
// the same file, it is opened once, and each block of it is read once.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"

namespace qel {

class RequestFiles final : public FileOpener {
public:
    explicit RequestFiles(FileOpener& system = SystemFiles()) : system_(system) {}
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
        const Loaded& Block(int64_t index);
    };

private:
    FileOpener& system_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace qel
