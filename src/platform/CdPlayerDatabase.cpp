#include "platform/CdPlayerDatabase.h"

#include <optional>

namespace qel {
namespace {

std::optional<std::string>& ChosenPath() {
    static std::optional<std::string> path;
    return path;
}

}  // namespace

std::string CdPlayerIniPath() {
    const auto& chosen = ChosenPath();
    return chosen ? *chosen : DefaultCdPlayerIniPath();
}

void SetCdPlayerIniPath(const std::string& path) { ChosenPath() = path; }

}  // namespace qel
