#pragma once
// The 128-byte tag at the end of an audio file, and the genre names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/BinaryFile.h"

namespace qel {

class TID3v1 {
public:
    static constexpr size_t kTagSize = 128;
    static constexpr size_t kGenreCount = 148;
    static constexpr uint8_t kNoGenre = 255;

    explicit TID3v1(FileOpener& files = SystemFiles());

    void ClearFields();
    // True when the file's last 128 bytes could be read, tag or not;
    // Present tells whether they held one. Never throws.
    bool ReadTag(const std::string& fileName);
    // The name of GenreIndex, empty when it is outside the table.
    std::string GenreName() const;

    bool Present = false;
    uint8_t Version = 1;  // 1 = ID3v1.0, 2 = ID3v1.1
    std::string Title, Artist, Album, Year, Comment;
    uint8_t Track = 0;
    uint8_t GenreIndex = kNoGenre;

private:
    // The kTagSize bytes at tag.
    void ParseTag(const uint8_t* tag);
    FileOpener* files_;
};

// The genre name of an index, empty from 148 on.
std::string ID3v1GenreName(unsigned index);

}  // namespace qel
