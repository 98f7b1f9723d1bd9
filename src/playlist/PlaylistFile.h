#pragma once
// Playlist files: 8-bit text, two lines per item (file name, full path),
// written with CR LF after every line; read with CR, LF or CR LF as line
// end, a last line without an end included, a zero byte ending the text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BinaryFile.h"

namespace qel {

// Files larger than this are not taken for playlists (about 100 times the
// size of a 10,000-item list).
constexpr int64_t kPlaylistFileMax = 64 * 1024 * 1024;

std::vector<std::string> PlaylistLines(std::string_view text);
std::string PlaylistText(const std::vector<std::string>& lines);

// The lines of a playlist file; nothing when it cannot be read or is too large.
std::optional<std::vector<std::string>> ReadPlaylistFile(FileOpener& files, const std::string& path);

// Writes the lines, replacing the file only when the whole text was written.
bool SavePlaylistFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace qel
