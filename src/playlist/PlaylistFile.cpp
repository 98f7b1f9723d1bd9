#include "playlist/PlaylistFile.h"

#include <cstring>

#include "platform/SafeFileWrite.h"

namespace qel {

std::vector<std::string> PlaylistLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::string PlaylistText(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<std::vector<std::string>> ReadPlaylistFile(FileOpener& files, const std::string& path) {
    auto file = files.OpenRead(path, ShareMode::AllowWriters);
    if (!file || file->Size() > kPlaylistFileMax) return std::nullopt;
    std::string text;
    text.reserve(static_cast<size_t>(file->Size()));
    char chunk[65536];
    // The size is only a hint: read until the end or a zero byte, within the limit.
    while (text.size() < static_cast<size_t>(kPlaylistFileMax)) {
        size_t n = file->Read(chunk, sizeof chunk);
        if (n == 0) break;
        const void* zero = std::memchr(chunk, 0, n);
        if (zero) {
            text.append(chunk, static_cast<const char*>(zero) - chunk);
            break;
        }
        text.append(chunk, n);
    }
    return PlaylistLines(text);
}

bool SavePlaylistFile(const std::string& path, const std::vector<std::string>& lines) {
    return ReplaceFileContents(path, PlaylistText(lines));
}

}  // namespace qel
