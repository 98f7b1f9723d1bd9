#pragma once
// The picture of the plug-in's background: a bitmap, icon, metafile or JPEG
// loaded through the system's picture support, drawn stretched over a
// rectangle.
#include <windows.h>

#include <string>

#include "platform/PluginWindow.h"

struct IPicture;

namespace qel::win32 {

class BackgroundPicture {
public:
    BackgroundPicture() = default;
    ~BackgroundPicture();
    BackgroundPicture(const BackgroundPicture&) = delete;
    BackgroundPicture& operator=(const BackgroundPicture&) = delete;

    // False, with the old picture kept, when the file cannot be loaded.
    bool Load(const std::string& path, PictureKind kind);
    bool Empty() const { return picture_ == nullptr; }
    void Draw(HDC dc, const RECT& target) const;

    // Files larger than this are not taken for pictures.
    static constexpr DWORD kFileMax = 64 * 1024 * 1024;

private:
    void Clear();

    IPicture* picture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace qel::win32
