// Windows files through CreateFileA.
#include <windows.h>

#include "platform/BinaryFile.h"
#include "platform/win32/Win32Error.h"

namespace qel {
namespace {

class Win32File final : public PositionedFile {
public:
    Win32File(HANDLE handle, int64_t size) : handle_(handle), size_(size) {}
    ~Win32File() override { CloseHandle(handle_); }
    int64_t Size() const override { return size_; }
    size_t Read(void* buffer, size_t count) override {
        size_t done = 0;
        auto* out = static_cast<char*>(buffer);
        while (done < count) {
            LARGE_INTEGER at;
            at.QuadPart = position_;
            if (!SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) break;
            DWORD chunk = static_cast<DWORD>(count - done > 0x10000000 ? 0x10000000 : count - done);
            DWORD got = 0;
            if (!ReadFile(handle_, out + done, chunk, &got, nullptr) || got == 0) break;
            done += got;
            position_ += got;
        }
        return done;
    }

private:
    HANDLE handle_;
    int64_t size_;
};

class Win32Opener final : public FileOpener {
public:
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason) override {
        DWORD shareFlags = FILE_SHARE_READ;
        if (share == ShareMode::AllowWriters) shareFlags |= FILE_SHARE_WRITE;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, shareFlags, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (reason) *reason = LastErrorText();
            return nullptr;
        }
        LARGE_INTEGER size;
        if (!GetFileSizeEx(h, &size)) {
            if (reason) *reason = LastErrorText();
            CloseHandle(h);
            return nullptr;
        }
        return std::make_unique<Win32File>(h, size.QuadPart);
    }

    std::optional<FileStamp> Stamp(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
        auto join = [](DWORD high, DWORD low) { return static_cast<int64_t>(uint64_t(high) << 32 | low); };
        return FileStamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                         join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    }
};

}  // namespace

FileOpener& SystemFiles() {
    static Win32Opener opener;
    return opener;
}

}  // namespace qel
