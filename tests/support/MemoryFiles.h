#pragma once
// A FileOpener serving byte buffers by path, for tests and fuzz targets.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"

namespace qel {

class MemoryFiles final : public FileOpener {
public:
    using Bytes = std::vector<uint8_t>;

    // Adds or replaces the file at path.
    void Add(const std::string& path, Bytes contents);
    void Remove(const std::string& path);

    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason = nullptr) override;

    // How many opens were asked for, successful or not.
    int OpenCount() const { return opens_; }

private:
    std::map<std::string, std::shared_ptr<const Bytes>> files_;
    int opens_ = 0;
};

}  // namespace qel
