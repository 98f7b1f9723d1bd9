#pragma once
// A FileOpener that counts the opens reaching the one below it.
#include "platform/BinaryFile.h"

namespace qel::test {

class CountingFiles final : public FileOpener {
public:
    explicit CountingFiles(FileOpener& inner = SystemFiles()) : inner_(inner) {}
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason = nullptr) override {
        ++opens;
        return inner_.OpenRead(path, share, reason);
    }
    int opens = 0;

private:
    FileOpener& inner_;
};

}  // namespace qel::test
