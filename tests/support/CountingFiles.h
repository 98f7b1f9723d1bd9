#pragma once
// A FileOpener that counts the opens reaching the one below it and the bytes
// read through the files it opened.
#include <atomic>
#include <memory>

#include "platform/BinaryFile.h"

namespace qel::test {

class CountingFiles final : public FileOpener {
public:
    explicit CountingFiles(FileOpener& inner = SystemFiles()) : inner_(inner) {}
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason = nullptr) override {
        ++opens;
        auto file = inner_.OpenRead(path, share, reason);
        if (!file) return nullptr;
        return std::make_unique<CountingFile>(std::move(file), bytes);
    }
    // Stamps are not opens: they are passed on uncounted.
    std::optional<FileStamp> Stamp(const std::string& path) override { return inner_.Stamp(path); }
    std::atomic<int> opens = 0;
    std::atomic<int64_t> bytes = 0;

private:
    class CountingFile final : public BinaryFile {
    public:
        CountingFile(std::unique_ptr<BinaryFile> inner, std::atomic<int64_t>& bytes) : inner_(std::move(inner)), bytes_(bytes) {}
        int64_t Size() const override { return inner_->Size(); }
        bool Seek(int64_t position) override { return inner_->Seek(position); }
        int64_t Position() const override { return inner_->Position(); }
        size_t Read(void* buffer, size_t count) override {
            const size_t got = inner_->Read(buffer, count);
            bytes_ += static_cast<int64_t>(got);
            return got;
        }

    private:
        std::unique_ptr<BinaryFile> inner_;
        std::atomic<int64_t>& bytes_;
    };

    FileOpener& inner_;
};

}  // namespace qel::test
