#pragma once
// A FileOpener serving byte buffers by path, for tests and fuzz targets.
// Files may be added on one thread while another reads them.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"

namespace qel {

class MemoryFiles final : public FileOpener {
public:
    using Bytes = std::vector<uint8_t>;

    MemoryFiles() = default;
    // Serves one file.
    MemoryFiles(const std::string& path, Bytes contents) { Add(path, std::move(contents)); }

    // Adds or replaces the file at path; each write gets a later write time.
    void Add(const std::string& path, Bytes contents);
    void Remove(const std::string& path);

    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason = nullptr) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;

    // How many opens were asked for, successful or not.
    int OpenCount() const;

private:
    struct File {
        std::shared_ptr<const Bytes> bytes;
        int64_t written = 0;
    };
    mutable std::mutex mutex_;
    std::map<std::string, File> files_;
    int64_t writes_ = 0;
    int opens_ = 0;
};

}  // namespace qel
