#include "support/FakePluginWindow.h"

#include <algorithm>

namespace qel {

bool FakePluginWindow::LoadPicture(const std::string& path, PictureKind) {
    if (std::find(loadablePictures.begin(), loadablePictures.end(), path) == loadablePictures.end()) return false;
    picture = path;
    return true;
}

}  // namespace qel
