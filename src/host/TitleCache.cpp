#include "host/TitleCache.h"

namespace qel {

const CachedTitle* TitleCache::Find(const std::string& path) const {
    auto found = entries_.find(path);
    return found == entries_.end() ? nullptr : &found->second;
}

void TitleCache::Store(const std::string& path, CachedTitle entry) { entries_[path] = std::move(entry); }

void TitleCache::KeepFrom(TitleCache& from, const std::string& path) {
    if (entries_.count(path)) return;
    auto found = from.entries_.find(path);
    if (found != from.entries_.end()) entries_.emplace(path, std::move(found->second));
}

bool ShowsAsTitle(const std::string& title) {
    constexpr size_t kShortest = 2;  // with its three spaces longer than 4 characters
    constexpr const char* kSeparatorOnly = " - ";
    return title.size() >= kShortest && title != kSeparatorOnly;
}

std::string DisplayText(int32_t index, const std::string& title, const std::string& fileName) {
    if (!ShowsAsTitle(title)) return fileName;
    return std::to_string(index + 1) + "  " + title + "   ";
}

}  // namespace qel
