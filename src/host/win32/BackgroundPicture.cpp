#include "host/win32/BackgroundPicture.h"

#include <ole2.h>
#include <olectl.h>

#include "host/JpegStructure.h"

namespace qel::win32 {

namespace {

// The whole file in movable global memory, as OleLoadPicture wants it; a JPEG
// only when it is whole and of a sane size.
HGLOBAL ReadFileToGlobal(const std::string& path, PictureKind kind, DWORD& size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    HGLOBAL memory = nullptr;
    DWORD high = 0;
    size = GetFileSize(file, &high);
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0 && size <= BackgroundPicture::kFileMax) {
        memory = GlobalAlloc(GMEM_MOVEABLE, size);
        void* bytes = memory ? GlobalLock(memory) : nullptr;
        DWORD read = 0;
        const bool complete = bytes && ReadFile(file, bytes, size, &read, nullptr) && read == size &&
                              (kind != PictureKind::Jpeg || IsWholeJpeg(static_cast<const uint8_t*>(bytes), size));
        if (bytes) GlobalUnlock(memory);
        if (!complete && memory) {
            GlobalFree(memory);
            memory = nullptr;
        }
    }
    CloseHandle(file);
    return memory;
}

}  // namespace

BackgroundPicture::~BackgroundPicture() { Clear(); }

void BackgroundPicture::Clear() {
    if (picture_) picture_->Release();
    picture_ = nullptr;
}

bool BackgroundPicture::Load(const std::string& path, PictureKind kind) {
    if (kind == PictureKind::Unsupported) return false;
    DWORD size = 0;
    HGLOBAL memory = ReadFileToGlobal(path, kind, size);
    if (!memory) return false;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return false;
    }
    IPicture* loaded = nullptr;
    const HRESULT result =
        OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&loaded));
    stream->Release();
    if (FAILED(result) || loaded == nullptr) return false;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    loaded->get_Width(&width);
    loaded->get_Height(&height);
    if (width <= 0 || height <= 0) {
        loaded->Release();
        return false;
    }
    Clear();
    picture_ = loaded;
    width_ = width;
    height_ = height;
    return true;
}

void BackgroundPicture::Draw(HDC dc, const RECT& target) const {
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0) return;
    if (picture_) picture_->Render(dc, target.left, target.top, width, height, 0, height_, width_, -height_, nullptr);
}

}  // namespace qel::win32
