#include "readers/FLACfile.h"

#include <algorithm>
#include <cstring>

#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"
#include "readers/TagText.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

constexpr char kMarker[] = "fLaC";
constexpr uint8_t kLastBlockFlag = 0x80;
constexpr uint8_t kTypeMask = 0x7F;
constexpr size_t kBlockHeaderSize = 4;

// Positions in the head bytes: the first block header, and STREAMINFO's
// packed fields as bit positions (sample rate 20 bits, channels - 1 3 bits,
// bits per sample - 1 5 bits), then the low 32 bits of the sample count.
constexpr size_t kFirstBlockHeader = 4;
constexpr unsigned kRateBit = 18 * 8;
constexpr unsigned kChannelsBit = kRateBit + 20;
constexpr unsigned kSampleBitsBit = kChannelsBit + 3;
constexpr size_t kSampleCount = 22;
// A block header: type and last-block flag, then a 24-bit big-endian length.
constexpr size_t kBlockLength = 1;

// What the block scan does with each block type.
enum class BlockAction { Comments, Padding, ReadWhole, Skip, Invalid };
constexpr uint8_t kPaddingType = 1;
constexpr uint8_t kInvalidType = 127;

BlockAction ActionFor(uint8_t type) {
    switch (type) {
        case 4: return BlockAction::Comments;
        case kPaddingType: return BlockAction::Padding;
        case 0: case 2: case 3: case 5: return BlockAction::ReadWhole;
        case kInvalidType: return BlockAction::Invalid;
        default: return BlockAction::Skip;  // pictures and reserved types
    }
}

// Comment names in the order they are compared, and the field each fills.
struct CommentName {
    const char* name;
    std::string TFLACfile::*field;
};
const std::array<CommentName, 28> kCommentNames = {{
    {"TRACKNUMBER", &TFLACfile::TrackText},
    {"ARTIST", &TFLACfile::Artist},
    {"ALBUM", &TFLACfile::Album},
    {"TITLE", &TFLACfile::Title},
    {"DATE", &TFLACfile::Date},
    {"GENRE", &TFLACfile::Genre},
    {"COMMENT", &TFLACfile::Comment},
    {"COMPOSER", &TFLACfile::Composer},
    {"LANGUAGE", &TFLACfile::Language},
    {"COPYRIGHT", &TFLACfile::Copyright},
    {"URL", &TFLACfile::Link},
    {"ENCODER", &TFLACfile::Encoder},
    {"TONES", &TFLACfile::Tones},
    {"STYLES", &TFLACfile::Styles},
    {"MOOD", &TFLACfile::Mood},
    {"SITUATION", &TFLACfile::Situation},
    {"RATING", &TFLACfile::Rating},
    {"QUALITY", &TFLACfile::Quality},
    {"TEMPO", &TFLACfile::Tempo},
    {"TYPE", &TFLACfile::Type},
    {"LYRICS", &TFLACfile::Lyrics},
    {"PERFORMER", &TFLACfile::Performer},
    {"LICENSE", &TFLACfile::License},
    {"ORGANIZATION", &TFLACfile::Organization},
    {"DESCRIPTION", &TFLACfile::Description},
    {"LOCATION", &TFLACfile::Location},
    {"CONTACT", &TFLACfile::Contact},
    {"ISRC", &TFLACfile::Isrc},
}};

// Enough bytes of a comment to hold the longest name and its "=".
constexpr size_t kKeyPeek = 13;

// Reads a file from front to back; skips never go past its end.
class Cursor {
public:
    Cursor(BinaryFile& file, int64_t position) : file_(file), size_(file.Size()), position_(position) {}
    int64_t Position() const { return position_; }
    int64_t Size() const { return size_; }

    size_t Read(void* buffer, size_t count) {
        const size_t got = ReadZeroFilled(file_, position_, buffer, count);
        position_ += static_cast<int64_t>(got);
        return got;
    }
    bool ReadLE32(uint32_t& value) {
        uint8_t bytes[4];
        if (Read(bytes, sizeof bytes) < sizeof bytes) return false;
        value = LoadLE32(bytes);
        return true;
    }
    void Skip(uint64_t count) {
        const int64_t end = std::max(position_, size_);
        position_ = static_cast<int64_t>(std::min<uint64_t>(static_cast<uint64_t>(position_) + count, end));
    }
    // A text of length bytes, cut to what the file holds; the cursor then
    // moves behind the whole text.
    std::string Text(uint32_t length) {
        const int64_t remaining = std::max<int64_t>(0, size_ - position_);
        std::string text(static_cast<size_t>(std::min<int64_t>(int64_t{length}, remaining)), '\0');
        text.resize(ReadZeroFilled(file_, position_, text.data(), text.size()));
        Skip(length);
        return text;
    }
    std::string Peek(size_t count) {
        char bytes[kKeyPeek];
        return std::string(bytes, ReadZeroFilled(file_, position_, bytes, std::min(count, sizeof bytes)));
    }

private:
    BinaryFile& file_;
    int64_t size_;
    int64_t position_;
};

// The field a comment fills: the first name equal to its key whose field is
// still empty, or null.
std::string* TargetOf(TFLACfile& flac, std::string_view key) {
    for (const auto& entry : kCommentNames)
        if (key == entry.name && (flac.*entry.field).empty()) return &(flac.*entry.field);
    return nullptr;
}

// The comment block at the cursor. Its own lengths decide where each text
// ends, whatever length the block header claims; only the end of the file
// cuts a text or ends the loop.
void ReadComments(TFLACfile& flac, Cursor& cursor) {
    uint32_t length = 0;
    if (!cursor.ReadLE32(length)) return;
    flac.Vendor = cursor.Text(length);
    uint32_t count = 0;
    if (!cursor.ReadLE32(count)) return;
    for (int32_t item = 0; item < static_cast<int32_t>(count); ++item) {
        if (!cursor.ReadLE32(length)) return;
        const std::string head = cursor.Peek(std::min<uint32_t>(length, kKeyPeek));
        const size_t equals = head.find('=');
        std::string* target = equals != std::string::npos && equals > 0
                                  ? TargetOf(flac, AsciiUpper(std::string_view(head).substr(0, equals)))
                                  : nullptr;
        if (!target) {
            cursor.Skip(length);
            continue;
        }
        // Cut by the end of the file, the text may end before its value.
        const std::string text = cursor.Text(length);
        *target = Utf8ToWide(std::string_view(text).substr(std::min(text.size(), equals + 1)));
    }
}

}  // namespace

TFLACfile::TFLACfile(FileOpener& files) : Ttag(files), id3v2_(files) { ClearFields(); }

void TFLACfile::ResetFields() {
    HeadBytes.fill(0);
    Channels = 0;
    SampleRate = 0;
    BitsPerSample = 0;
    BitRate = 0;
    FileLength = 0;
    TotalSamples = 0;
    AudioOffset = 0;
    Vendor.clear();
    for (const auto& entry : kCommentNames) (this->*entry.field).clear();
}

bool TFLACfile::ReadInfo(const std::string&) { NotProvided("ReadInfo"); }

bool TFLACfile::ReadFields(const std::string& fileName) {
    // The stream's open comes first: within a request, a handle that denies
    // writers serves the tag reader's open as well.
    auto file = OpenOrThrow(files(), fileName, ShareMode::DenyWriters);
    id3v2_.ReadTag(fileName);
    FileLength = static_cast<int32_t>(static_cast<uint32_t>(file->Size()));
    Cursor cursor(*file, id3v2_.Present ? id3v2_.TagSize : 0);

    cursor.Read(HeadBytes.data(), HeadBytes.size());
    if (std::memcmp(HeadBytes.data(), kMarker, 4) == 0) {
        const uint8_t* head = HeadBytes.data();
        const BitWindow info(HeadBytes);
        SampleRate = static_cast<int32_t>(info.Bits(kRateBit, 20));
        Channels = static_cast<uint8_t>(info.Bits(kChannelsBit, 3) + 1);
        BitsPerSample = static_cast<uint8_t>(info.Bits(kSampleBitsBit, 5) + 1);
        TotalSamples = LoadBE32(head + kSampleCount);

        bool last = (head[kFirstBlockHeader] & kLastBlockFlag) != 0;
        bool paddingSeen = false;
        while (!last) {
            uint8_t header[kBlockHeaderSize];
            if (cursor.Read(header, sizeof header) < sizeof header) break;
            const uint32_t length = LoadBE24(header + kBlockLength);
            if (length == 0) break;
            last = (header[0] & kLastBlockFlag) != 0;
            BlockAction action = ActionFor(header[0] & kTypeMask);
            if (action == BlockAction::Padding && paddingSeen) action = BlockAction::ReadWhole;
            switch (action) {
                case BlockAction::Comments:
                    // The next header follows the comment data, wherever the block claims to end.
                    ReadComments(*this, cursor);
                    break;
                case BlockAction::Padding:
                    paddingSeen = true;
                    cursor.Skip(length);
                    break;
                case BlockAction::ReadWhole:
                    if (cursor.Position() + length > cursor.Size())
                        throw FlacBlockError("metadata block runs past the end of " + fileName);
                    cursor.Skip(length);
                    break;
                case BlockAction::Skip:
                    cursor.Skip(length);
                    break;
                case BlockAction::Invalid:
                    TotalSamples = 0;
                    last = true;
                    break;
            }
        }
    }

    if (!IsValidStream()) return false;
    AudioOffset = static_cast<int32_t>(cursor.Position());
    BitRate = static_cast<int32_t>(
        RoundTiesEven(static_cast<double>(int64_t{FileLength} - AudioOffset) / 1000 * 8 / DurationSeconds()));
    return true;
}

bool TFLACfile::IsValidStream() const {
    return std::memcmp(HeadBytes.data(), kMarker, 4) == 0 && Channels > 0 && SampleRate > 0 && BitsPerSample > 0 &&
           TotalSamples > 0;
}

double TFLACfile::DurationSeconds() const {
    return IsValidStream() && SampleRate > 0 ? static_cast<double>(TotalSamples) / SampleRate : 0;
}

std::string TFLACfile::ChannelText() const {
    if (!IsValidStream()) return {};
    switch (Channels) {
        case 1: return "Mono";
        case 2: return "Stereo";
        default: return "Multi Channel";
    }
}

bool TFLACfile::Open(const std::string& fileName) {
    if (ReadFlac(fileName) && IsValidStream()) TypeName = "flac";
    return IsValidStream();
}

void TFLACfile::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.bitrate = IntText(BitRate);
    InfoSound.cnanmod = ChannelText();
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.samplrate = IntText(SampleRate);
    out = InfoSound;
}

void TFLACfile::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    InfoTag.Album2 = Album;
    InfoTag.Artist2 = Artist;
    InfoTag.Comment2 = Comment;
    InfoTag.Year2 = Date;
    InfoTag.Genre2 = Genre;
    InfoTag.Title2 = Title;
    InfoTag.Track = TrackText;
    InfoTag.vendor = Vendor;
    out = InfoTag;
}

std::string TFLACfile::ArtistTitle(const std::string& fileName) {
    ReadFlac(fileName);
    return Artist + " - " + Title;
}

}  // namespace qel
