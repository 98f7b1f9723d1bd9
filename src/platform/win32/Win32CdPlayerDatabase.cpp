#include <windows.h>

#include "platform/CdPlayerDatabase.h"

namespace qel {

std::string DefaultCdPlayerIniPath() {
    char folder[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    if (n == 0 || n > MAX_PATH) return "cdplayer.ini";  // the profile API then looks there itself
    std::string path(folder, n);
    if (path.back() != '\\') path += '\\';
    return path + "cdplayer.ini";
}

}  // namespace qel
