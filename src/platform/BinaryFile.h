#pragma once
// Read-only binary files: the one way the readers reach file contents.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace qel {

// An open file. Reads are bounded by the caller's buffer and report how many
// bytes really came; reading past the end delivers fewer bytes, never fails.
class BinaryFile {
public:
    virtual ~BinaryFile() = default;
    virtual int64_t Size() const = 0;
    // Absolute positioning; false for a negative position. Positions past
    // the end are allowed (a later read then delivers nothing).
    virtual bool Seek(int64_t position) = 0;
    virtual int64_t Position() const = 0;
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Up to scratch.size() bytes from position, fewer at the end of the file:
    // seen in place where the file already holds them in memory, else read
    // into scratch. Valid until the next call on this file; the position is
    // then behind them.
    virtual std::span<const uint8_t> View(int64_t position, std::span<uint8_t> scratch);
};

// What every implementation shares: the position is the object's own,
// and a read starts there.
class PositionedFile : public BinaryFile {
public:
    bool Seek(int64_t position) override {
        if (position < 0) return false;
        position_ = position;
        return true;
    }
    int64_t Position() const override { return position_; }

protected:
    int64_t position_ = 0;
};

enum class ShareMode { AllowWriters, DenyWriters };

// What the system tells of a file without opening it: its size and the time
// of its last write, in the system's own units. A file whose stamp is the
// same as before is taken to hold the same bytes.
struct FileStamp {
    int64_t size = 0;
    int64_t lastWrite = 0;
    bool operator==(const FileStamp&) const = default;
};

// Opens files for reading. A file that cannot be opened gives nullptr and,
// when asked, the reason as text. Both operations may run on several
// threads at once.
class FileOpener {
public:
    virtual ~FileOpener() = default;
    virtual std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                                 std::string* reason = nullptr) = 0;
    // The stamp of a regular file; nullopt when there is none at path.
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
    // True when a file opened through this opener gives the same bytes at
    // every read for as long as the opener lives (one request's snapshot).
    virtual bool ContentsFixed() const { return false; }
};

// The operating system's files.
FileOpener& SystemFiles();

// The failure of an open that a reader lets escape to its caller.
class FileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Opens or throws FileOpenError with the path and the reason.
std::unique_ptr<BinaryFile> OpenOrThrow(FileOpener& files, const std::string& path,
                                        ShareMode share = ShareMode::AllowWriters);

// Reads exactly count bytes at position; false when fewer came or the seek failed.
bool ReadAt(BinaryFile& file, int64_t position, void* buffer, size_t count);

}  // namespace qel
