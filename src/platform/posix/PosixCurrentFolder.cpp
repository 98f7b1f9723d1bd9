#include <unistd.h>

#include <vector>

#include "platform/CurrentFolder.h"

namespace qel {

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
    return buffer.data();
}

}  // namespace qel
