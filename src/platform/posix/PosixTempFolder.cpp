#include <cstdlib>

#include "platform/TempFolder.h"

namespace qel {

std::string TempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string folder = env && *env ? env : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace qel
