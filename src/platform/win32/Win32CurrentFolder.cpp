#include <windows.h>

#include <vector>

#include "platform/CurrentFolder.h"

namespace qel {

std::string CurrentFolder() {
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    if (n == 0) return {};
    std::vector<char> buffer(n + 1);
    n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0 || n >= buffer.size()) return {};
    return std::string(buffer.data(), n);
}

}  // namespace qel
