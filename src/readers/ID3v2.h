#pragma once
// The tag at the start of an audio file (versions 2.2, 2.3 and 2.4): its
// size, for skipping it, and the texts of the frames this system shows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/BinaryFile.h"

namespace qel {

class ID3v2Bytes;

class TID3v2 {
public:
    static constexpr size_t kHeaderSize = 10;
    static constexpr size_t kSlotCount = 16;
    static constexpr size_t kSlotSize = 500;  // bytes of a frame that are kept

    explicit TID3v2(FileOpener& files = SystemFiles());

    void ClearFields();
    // True when the file's first 10 bytes could be read, tag or not;
    // Present tells whether they began a tag. Never throws.
    bool ReadTag(const std::string& fileName);

    bool Present = false;
    uint8_t Version = 0;
    int32_t TagSize = 0;  // header and footer included; 0 without tag or when larger than the file
    std::string Title, Artist, Album;
    uint16_t Track = 0;
    std::string TrackText, Year, Genre, Comment, Composer, Encoder, Copyright, Language, Link;

    // The kept content of the last stored frame of each known id: empty, or
    // the frame's first bytes (at most kSlotSize) zero-filled to kSlotSize.
    // Only kSlotTail bytes of the fill are stored: the text decoders below
    // give the same result for them as for the whole fill.
    using Slots = std::array<std::string, kSlotCount>;
    static constexpr size_t kSlotTail = 3;

private:
    int64_t FramesStart(BinaryFile& file) const;
    void ReadFrames(BinaryFile& file, int64_t fileSize, Slots& slots) const;
    bool ReadContent(ID3v2Bytes& bytes, int64_t start, uint32_t size, uint8_t flags, uint8_t* content,
                     size_t& kept) const;
    uint32_t FrameSizeV4(BinaryFile& file, const uint8_t* sizeBytes, int64_t contentStart,
                         int64_t fileSize) const;
    bool LandsOnBoundary(BinaryFile& file, int64_t position, int64_t fileSize) const;
    void DeriveFields(const Slots& slots);

    FileOpener* files_;
    uint8_t flags_ = 0;  // the tag header's
};

// The total size of the tag whose 10-byte header is given (size bytes taken
// whole, plus the header and any footer); 0 when that exceeds fileSize.
int32_t ID3v2TagSize(const uint8_t* header, int64_t fileSize);

// Where the audio starts behind a tag that ends at tagEnd: tags that follow
// directly (some taggers add one rather than rewrite the first) are passed
// over too, at most kMaxFollowingTags of them. Their texts are not read: the
// first tag's count, as other readers take it.
constexpr int kMaxFollowingTags = 16;
int64_t EndOfFollowingTags(BinaryFile& file, int64_t tagEnd, int64_t fileSize);

// The text of a frame's kept content: encoding 1 is UTF-16 (little-endian
// units, FF-led units dropped), 2 UTF-16 big-endian, 3 UTF-8 (both stored
// from version 4 tags only), anything else is taken byte for byte; blanks are
// trimmed at both ends.
std::string DecodeFrameText(std::string_view content);

// Comment and link frames: the text behind the description (and, with
// withLanguage, behind the 3-letter language). Without it (a link frame) the
// address behind a description in encoding 2 or 3 is taken byte for byte.
std::string DescribedText(std::string_view content, bool withLanguage);

// A genre frame's text without its "(n)" references.
std::string GenreText(std::string_view content);

}  // namespace qel
