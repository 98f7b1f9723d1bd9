#include "readers/ID3v2.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "readers/ByteOrder.h"
#include "readers/ID3v2Bytes.h"
#include "readers/TagText.h"
#include "readers/TextForms.h"

namespace qel {

namespace {

// A frame id as the number its bytes make, big-endian.
constexpr uint32_t IdCode(const char* id) {
    uint32_t code = 0;
    for (; *id; ++id) code = (code << 8) | static_cast<uint8_t>(*id);
    return code;
}

// The known frames: their ids in versions 3 and 4, and in version 2.
struct KnownFrame {
    constexpr KnownFrame(const char* id34, const char* id2) : code34(IdCode(id34)), code2(IdCode(id2)) {}
    uint32_t code34;
    uint32_t code2;
};

enum Slot : size_t {
    kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kComposer, kEncoder, kCopyright,
    kLanguage, kLink, kRecordingTime, kOriginalArtist, kContentGroup, kOriginalAlbum,
};

constexpr KnownFrame kKnownFrames[TID3v2::kSlotCount] = {
    {"TIT2", "TT2"}, {"TPE1", "TP1"}, {"TALB", "TAL"}, {"TRCK", "TRK"},
    {"TYER", "TYE"}, {"TCON", "TCO"}, {"COMM", "COM"}, {"TCOM", "TCM"},
    {"TENC", "TEN"}, {"TCOP", "TCR"}, {"TLAN", "TLA"}, {"WXXX", "WXX"},
    {"TDRC", "TOR"}, {"TOPE", "TOA"}, {"TIT1", "TT1"}, {"TOAL", "TOT"},
};

// Tag header flags.
constexpr uint8_t kUnsyncFlag = 0x80;
constexpr uint8_t kExtendedFlag = 0x40;  // versions 3 and 4
constexpr uint8_t kFooterFlag = 0x10;

// Frame flags, in the second flag byte. Version 4 frames may be compressed
// or encrypted (not read), unsynchronised on their own, and carry a 4-byte
// data-length indicator ahead of their content.
constexpr uint8_t kSkipFlag = 0x80;
constexpr uint8_t kCompressedV4 = 0x08;
constexpr uint8_t kEncryptedV4 = 0x04;
constexpr uint8_t kUnsyncV4 = 0x02;
constexpr uint8_t kDataLengthV4 = 0x01;
constexpr uint32_t kDataLengthSize = 4;

// Frame headers: the id, then the size (3 bytes in version 2, 4 in versions
// 3 and 4, big-endian), then in versions 3 and 4 two flag bytes.
constexpr size_t kSizeV2 = 3;
constexpr size_t kSizeV34 = 4;
constexpr size_t kFlagsV34 = 8;

// The tag header: "ID3", version, revision, flags, synchsafe size.
constexpr size_t kTagVersion = 3;
constexpr size_t kTagFlags = 5;
constexpr size_t kTagSizeField = 6;

// Four 7-bit groups, big-endian. Each byte is added whole, top bit and all,
// as the tag's writers of old stored sizes.
uint32_t LoadSynchsafe(const uint8_t* p) {
    return (uint32_t{p[0]} << 21) + (uint32_t{p[1]} << 14) + (uint32_t{p[2]} << 7) + p[3];
}

bool IsTagHeader(const uint8_t* header) { return header[0] == 'I' && header[1] == 'D' && header[2] == '3'; }

bool IsFrameIdChar(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::string TextOrFallback(const std::string& first, const std::string& second) {
    std::string text = DecodeFrameText(first);
    return text.empty() ? DecodeFrameText(second) : text;
}

// Frame text encodings; 2 and 3 are stored only from version 4 tags.
constexpr char kUtf16 = 1, kUtf16BE = 2, kUtf8 = 3;

bool IsUtf16(char encoding) { return encoding == kUtf16 || encoding == kUtf16BE; }

// 16-bit text in the system's code page, trimmed.
std::string TrimmedSystemText(std::u16string_view units) {
    std::string text = WideToSystem(units);
    const std::string_view trimmed = TrimmedView(text);
    return trimmed.size() == text.size() ? text : std::string(trimmed);
}

// UTF-16 units up to the first zero unit, in the system's code page, trimmed.
// Encoding 1 is read little-endian and drops byte-order marks as units whose
// low byte is FF; encoding 2 is big-endian and drops the mark U+FEFF.
std::string DecodeUnits(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    size_t count = 0;
    for (size_t k = 0; k + 1 < bytes.size(); k += 2) {
        const auto first = static_cast<uint8_t>(bytes[k]);
        const auto second = static_cast<uint8_t>(bytes[k + 1]);
        const auto unit = static_cast<char16_t>(bigEndian ? (first << 8) | second : first | (second << 8));
        if (unit == 0) break;
        if (bigEndian ? unit != 0xFEFF : first != 0xFF) units[count++] = unit;
    }
    units.resize(count);
    return TrimmedSystemText(units);
}

// The text of `bytes` written in `encoding` (the frame's first byte).
std::string DecodeText(char encoding, std::string_view bytes) {
    if (IsUtf16(encoding)) return DecodeUnits(bytes, encoding == kUtf16BE);
    if (encoding == kUtf8) return TrimmedSystemText(Utf8ToUtf16(bytes.substr(0, bytes.find('\0'))));
    if (IsTagBlank(encoding)) return TrimBoth(bytes);
    std::string text(1, encoding);  // not an encoding byte: it is text
    text.append(bytes);
    return TrimBoth(text);
}

}  // namespace

int32_t ID3v2TagSize(const uint8_t* header, int64_t fileSize) {
    const int64_t size = LoadSynchsafe(header + kTagSizeField);
    const int64_t total = size + static_cast<int64_t>(TID3v2::kHeaderSize) + ((header[kTagFlags] & kFooterFlag) ? 10 : 0);
    return total > fileSize ? 0 : static_cast<int32_t>(total);
}

int64_t EndOfFollowingTags(BinaryFile& file, int64_t tagEnd, int64_t fileSize) {
    for (int tag = 0; tag < kMaxFollowingTags; ++tag) {
        uint8_t header[TID3v2::kHeaderSize];
        if (!ReadAt(file, tagEnd, header, sizeof header) || !IsTagHeader(header)) break;
        const int32_t size = ID3v2TagSize(header, fileSize - tagEnd);
        if (size == 0) break;
        tagEnd += size;
    }
    return tagEnd;
}

std::string DecodeFrameText(std::string_view content) {
    if (content.empty()) return {};
    return DecodeText(content[0], content.substr(1));
}

std::string DescribedText(std::string_view content, bool withLanguage) {
    if (content.empty()) return {};
    const char encoding = content[0];
    const size_t skip = withLanguage ? 4 : 1;
    std::string_view rest = content.substr(std::min(skip, content.size()));
    if (IsUtf16(encoding)) {
        // The description ends with a zero unit; search whole units only, so
        // the zero high byte of its last character is not taken for it.
        size_t at = 0;
        while (at + 1 < rest.size() && (rest[at] != 0 || rest[at + 1] != 0)) at += 2;
        rest = at + 1 < rest.size() ? rest.substr(at + 2) : rest.substr(std::min<size_t>(1, rest.size()));
    } else {
        const size_t at = rest.find('\0');
        if (at != std::string_view::npos) rest = rest.substr(at + 1);
    }
    // A link's address is Latin-1 whatever encodes its description (encoding
    // 1 keeps its old reading).
    if (!withLanguage && (encoding == kUtf16BE || encoding == kUtf8)) return TrimBoth(rest);
    return DecodeText(encoding, rest);
}

std::string GenreText(std::string_view content) {
    std::string text = DecodeFrameText(content);
    const size_t close = text.rfind(')');
    return close == std::string::npos ? text : text.substr(close + 1);
}

TID3v2::TID3v2(FileOpener& files) : files_(&files) { ClearFields(); }

void TID3v2::ClearFields() {
    Present = false;
    Version = 0;
    TagSize = 0;
    Track = 0;
    for (std::string* text : {&Title, &Artist, &Album, &TrackText, &Year, &Genre, &Comment, &Composer,
                              &Encoder, &Copyright, &Language, &Link})
        text->clear();
    flags_ = 0;
}

bool TID3v2::ReadTag(const std::string& fileName) {
    ClearFields();
    std::unique_ptr<BinaryFile> file;
    uint8_t header[kHeaderSize];
    int64_t fileSize = 0;
    try {
        file = files_->OpenRead(fileName, ShareMode::AllowWriters);
        if (!file || !ReadAt(*file, 0, header, kHeaderSize)) return false;
        fileSize = file->Size();
    } catch (...) {
        ClearFields();
        return false;
    }
    if (!IsTagHeader(header)) return true;

    Present = true;
    Version = header[kTagVersion];
    flags_ = header[kTagFlags];
    TagSize = ID3v2TagSize(header, fileSize);

    if ((Version == 2 || Version == 3 || Version == 4) && TagSize > 0) {
        Slots slots;
        try {
            ReadFrames(*file, fileSize, slots);
        } catch (...) {
            // A failing read ends the walk; what was stored stays.
        }
        DeriveFields(slots);
    }
    return true;
}

// Where the frames start: behind the header and the extended header that
// the flag announces in versions 3 and 4. Its size leaves itself out in
// version 3 and counts itself, synchsafe, in version 4; a frame id where the
// size should be means the flag was set without one.
int64_t TID3v2::FramesStart(BinaryFile& file) const {
    constexpr int64_t kHeader = kHeaderSize;
    uint8_t size[4];
    if (!(flags_ & kExtendedFlag) || Version < 3 || !ReadAt(file, kHeader, size, sizeof size) ||
        std::all_of(size, size + 4, IsFrameIdChar))
        return kHeader;
    return Version == 3 ? kHeader + 4 + int64_t{LoadBE32(size)} : kHeader + int64_t{LoadSynchsafe(size)};
}

void TID3v2::ReadFrames(BinaryFile& file, int64_t fileSize, Slots& slots) const {
    const bool v2 = Version == 2;
    const size_t headerSize = v2 ? 6 : 10;
    int64_t position = FramesStart(file);
    // Versions 2 and 3 unsynchronise the whole tag, version 4 each frame's content.
    ID3v2Bytes bytes(file, position, TagSize, (flags_ & kUnsyncFlag) && Version < 4);
    while (bytes.Holds(position) && position < fileSize) {
        uint8_t header[10];
        if (!bytes.Read(position, header, headerSize)) return;
        if (header[0] < 'A' || header[0] > 'Z') return;  // padding or garbage ends the list

        const int64_t contentStart = position + static_cast<int64_t>(headerSize);
        uint32_t size = 0;
        uint8_t flags = 0;
        if (v2) {
            size = LoadBE24(header + kSizeV2);
        } else {
            size = Version == 4 ? FrameSizeV4(file, header + kSizeV34, contentStart, fileSize) : LoadBE32(header + kSizeV34);
            flags = header[kFlagsV34 + 1];
        }
        position = contentStart + size;  // sizes are unsigned: the walk only moves forward
        const bool skipped = (flags & kSkipFlag) || (Version == 4 && (flags & (kCompressedV4 | kEncryptedV4)));
        if (skipped) continue;

        uint8_t content[2 * kSlotSize];
        content[0] = 0;  // an empty frame reads as encoding 0
        size_t kept = 0;
        if (!ReadContent(bytes, contentStart, size, flags, content, kept)) return;
        const uint8_t encoding = content[0];
        if (encoding <= kUtf16 || (Version == 4 && encoding <= kUtf8)) {
            const uint32_t id = v2 ? LoadBE24(header) : LoadBE32(header);
            for (size_t slot = 0; slot < kSlotCount; ++slot)
                if (id == (v2 ? kKnownFrames[slot].code2 : kKnownFrames[slot].code34)) {
                    slots[slot].assign(reinterpret_cast<const char*>(content), kept);
                    slots[slot].append(std::min(kSlotTail, kSlotSize - kept), '\0');
                }
        }
    }
}

// The first kSlotSize bytes of a frame's content into content (which holds
// twice that). A version 4 frame's data-length indicator is passed over and
// its unsynchronisation undone, for which up to twice the kept bytes are read.
bool TID3v2::ReadContent(ID3v2Bytes& bytes, int64_t start, uint32_t size, uint8_t flags, uint8_t* content,
                         size_t& kept) const {
    bool unsynchronised = false;
    if (Version == 4) {
        if (flags & kDataLengthV4) {
            const uint32_t indicator = std::min(size, kDataLengthSize);
            start += indicator;
            size -= indicator;
        }
        unsynchronised = (flags_ & kUnsyncFlag) || (flags & kUnsyncV4);
    }
    const size_t stored = std::min<uint32_t>(size, unsynchronised ? 2 * kSlotSize : kSlotSize);
    if (!bytes.Read(start, content, stored)) return false;
    kept = unsynchronised ? std::min(Resynchronise(content, stored), kSlotSize) : stored;
    return true;
}

// Version 4 stores frame sizes as synchsafe numbers (7 bits per byte), but
// some writers stored plain ones: take the plain reading only where it, and
// not the synchsafe one, lands on what may follow a frame.
uint32_t TID3v2::FrameSizeV4(BinaryFile& file, const uint8_t* sizeBytes, int64_t contentStart,
                             int64_t fileSize) const {
    const uint32_t plain = LoadBE32(sizeBytes);
    if ((plain & 0x80808080u) != 0) return plain;  // not a synchsafe number at all
    const uint32_t synchsafe = LoadSynchsafe(sizeBytes);
    if (synchsafe == plain || LandsOnBoundary(file, contentStart + synchsafe, fileSize)) return synchsafe;
    return LandsOnBoundary(file, contentStart + plain, fileSize) ? plain : synchsafe;
}

// True at the tag's end, its footer, padding or a frame header.
bool TID3v2::LandsOnBoundary(BinaryFile& file, int64_t position, int64_t fileSize) const {
    if (position == TagSize) return true;
    if (position > TagSize || position >= fileSize) return false;
    uint8_t next[4] = {};
    const size_t count = static_cast<size_t>(std::min<int64_t>(sizeof next, fileSize - position));
    if (!ReadAt(file, position, next, count)) return false;
    if (next[0] == 0) return true;
    if ((flags_ & kFooterFlag) && position + 10 == TagSize && next[0] == '3' && next[1] == 'D' && next[2] == 'I') return true;
    return count == sizeof next && std::all_of(next, next + 4, IsFrameIdChar);
}

void TID3v2::DeriveFields(const Slots& slots) {
    Title = TextOrFallback(slots[kTitle], slots[kContentGroup]);
    Artist = TextOrFallback(slots[kArtist], slots[kOriginalArtist]);
    Album = TextOrFallback(slots[kAlbum], slots[kOriginalAlbum]);
    TrackText = DecodeFrameText(slots[kTrack]);
    Track = static_cast<uint16_t>(TrackFromText(TrackText));
    Year = DecodeFrameText(slots[kYear]);
    if (Year.empty()) Year = DecodeFrameText(slots[kRecordingTime]).substr(0, 4);
    Genre = GenreText(slots[kGenre]);
    Comment = DescribedText(slots[kComment], true);
    Composer = DecodeFrameText(slots[kComposer]);
    Encoder = DecodeFrameText(slots[kEncoder]);
    Copyright = DecodeFrameText(slots[kCopyright]);
    Language = DecodeFrameText(slots[kLanguage]);
    Link = DescribedText(slots[kLink], false);
}

}  // namespace qel
