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

bool EnsureFolder(const std::string& folder) {
    auto isFolder = [](const std::string& path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
    if (folder.empty()) return false;
    if (isFolder(folder)) return true;
    // Each folder on the way, from the top down; those that exist refuse quietly.
    for (size_t at = folder.find_first_of("\\/", 1); at != std::string::npos; at = folder.find_first_of("\\/", at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    return isFolder(folder);
}

}  // namespace qel
