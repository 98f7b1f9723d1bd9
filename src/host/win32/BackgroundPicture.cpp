#include "host/win32/BackgroundPicture.h"

#include <ole2.h>
#include <olectl.h>

namespace qel::win32 {

namespace {

// The whole file in movable global memory, as OleLoadPicture wants it.
HGLOBAL ReadFileToGlobal(const std::string& path, DWORD& size) {
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
        const bool complete = bytes && ReadFile(file, bytes, size, &read, nullptr) && read == size;
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
    if (bitmap_) DeleteObject(bitmap_);
    picture_ = nullptr;
    bitmap_ = nullptr;
}

bool BackgroundPicture::Load(const std::string& path, PictureKind kind) {
    if (kind == PictureKind::Unsupported || kind == PictureKind::Jpeg) return false;
    DWORD size = 0;
    HGLOBAL memory = ReadFileToGlobal(path, size);
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

void BackgroundPicture::Set(const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // rows top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return;
    const size_t stride = (size_t(image.width) * 3 + 3) & ~size_t(3);
    auto* rows = static_cast<uint8_t*>(bits);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* from = image.pixels.data() + size_t(y) * image.width * 3;
        uint8_t* to = rows + size_t(y) * stride;
        for (int x = 0; x < image.width; ++x) {  // RGB to the bitmap's BGR
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    GdiFlush();
    Clear();
    bitmap_ = bitmap;
    width_ = image.width;
    height_ = image.height;
}

void BackgroundPicture::Draw(HDC dc, const RECT& target) const {
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0) return;
    if (picture_) {
        picture_->Render(dc, target.left, target.top, width, height, 0, height_, width_, -height_, nullptr);
    } else if (bitmap_) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap_);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, target.left, target.top, width, height, source, 0, 0, width_, height_, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
}

}  // namespace qel::win32
