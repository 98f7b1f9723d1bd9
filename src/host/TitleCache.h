#pragma once
// The display titles of the playlist's files as last read, each with the
// stamp of the file it was read from, and the text an item shows for one.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/BinaryFile.h"

namespace qel {

struct CachedTitle {
    std::optional<FileStamp> stamp;  // none: there was no file to read
    std::string title;
};

class TitleCache {
public:
    // The entry of path, or null.
    const CachedTitle* Find(const std::string& path) const;
    void Store(const std::string& path, CachedTitle entry);
    // Takes over the entry of path from `from`, if it has one.
    void KeepFrom(TitleCache& from, const std::string& path);
    void Clear() { entries_.clear(); }
    size_t Size() const { return entries_.size(); }

private:
    std::unordered_map<std::string, CachedTitle> entries_;
};

// Whether the list shows a title: one of two characters or more that is not
// only the separator an analyser puts between no artist and no title.
bool ShowsAsTitle(const std::string& title);

// What item `index` shows: its number, two spaces, the title and three
// spaces; its file name when the title does not show.
std::string DisplayText(int32_t index, const std::string& title, const std::string& fileName);

}  // namespace qel
