#include <windows.h>

#include "platform/TempFolder.h"

namespace qel {

std::string TempFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof path, path);
    std::string folder(path, n > 0 && n < sizeof path ? n : 0);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace qel
