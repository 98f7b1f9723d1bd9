#include <array>
#include <string_view>

#include "platform/PluginWindow.h"
#include "player/FileInfoDispatch.h"

namespace qel {

PictureKind PictureKindOf(const std::string& path) {
    struct Row {
        std::string_view extension;
        PictureKind kind;
    };
    static constexpr std::array<Row, 6> kKinds{{
        {".bmp", PictureKind::Bitmap},
        {".ico", PictureKind::Icon},
        {".wmf", PictureKind::Metafile},
        {".emf", PictureKind::EnhancedMetafile},
        {".jpg", PictureKind::Jpeg},
        {".jpeg", PictureKind::Jpeg},
    }};
    const std::string extension = LowerExtension(path);
    for (const Row& row : kKinds)
        if (row.extension == extension) return row.kind;
    return PictureKind::Unsupported;
}

}  // namespace qel
