// POSIX files for the native build (qelinfo on Linux and the native tests).
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/BinaryFile.h"

namespace qel {
namespace {

class PosixFile final : public PositionedFile {
public:
    PosixFile(int fd, int64_t size) : fd_(fd), size_(size) {}
    ~PosixFile() override { ::close(fd_); }
    int64_t Size() const override { return size_; }
    size_t Read(void* buffer, size_t count) override {
        size_t done = 0;
        auto* out = static_cast<char*>(buffer);
        while (done < count) {
            ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(position_));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
            position_ += n;
        }
        return done;
    }

private:
    int fd_;
    int64_t size_;
};

class PosixOpener final : public FileOpener {
public:
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode,
                                         std::string* reason) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (reason) *reason = std::strerror(errno);
            return nullptr;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            if (reason) *reason = S_ISDIR(st.st_mode) ? "Is a directory" : "not a regular file";
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd, static_cast<int64_t>(st.st_size));
    }

    std::optional<FileStamp> Stamp(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
        constexpr int64_t kNanoseconds = 1000000000;
        return FileStamp{static_cast<int64_t>(st.st_size),
                         static_cast<int64_t>(st.st_mtim.tv_sec) * kNanoseconds + st.st_mtim.tv_nsec};
    }
};

}  // namespace

FileOpener& SystemFiles() {
    static PosixOpener opener;
    return opener;
}

}  // namespace qel
