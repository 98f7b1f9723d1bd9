#include "readers/WMAfile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <string_view>

#include "platform/CodePage.h"
#include "readers/ASFobjects.h"
#include "readers/FileBytes.h"
#include "readers/ID3Fields.h"
#include "readers/TagText.h"
#include "readers/TextForms.h"

namespace qel {

namespace {

using asf::Guid;

// The texts the analyser keeps, by where they end up.
enum Slot : size_t {
    kTitle, kAuthor, kCopyright, kDescription, kAlbum, kYear, kTrackNumber, kGenre, kComposer,
    kEncodedBy, kSettings, kLanguage, kLink, kSlotCount,
};
using Slots = std::array<std::string, kSlotCount>;

// The content description's texts, in the order of their lengths; the fifth,
// the rating, is not kept.
constexpr Slot kDescribed[] = {kTitle, kAuthor, kCopyright, kDescription};
constexpr size_t kDescribedLengths = 5;

// The extended content descriptors read, matched in any letter case. The
// content description's names stand in when a file keeps those texts here.
struct Descriptor {
    std::string_view name;
    Slot slot;
};
constexpr Descriptor kDescriptors[] = {
    {"WM/AlbumTitle", kAlbum},   {"WM/Year", kYear},           {"WM/TrackNumber", kTrackNumber},
    {"WM/Genre", kGenre},        {"WM/Composer", kComposer},   {"WM/EncodedBy", kEncodedBy},
    {"WM/EncodingSettings", kSettings}, {"WM/Language", kLanguage}, {"WM/AuthorURL", kLink},
    {"Title", kTitle},           {"Author", kAuthor},          {"Copyright", kCopyright},
    {"Description", kDescription},
};
constexpr size_t kNameBytes = 64;  // longer names are none of these

// The file properties object: file id, file size, creation date, packet
// count, play duration, send duration, preroll, flags, the smallest and
// largest packet size, the maximum bit rate.
constexpr size_t kFilePropertiesSize = 80;

// The stream properties object: stream type, error correction type, time
// offset, the lengths of the type-specific and error correction data, flags,
// a reserved word, then the type-specific data (for audio a WAVEFORMATEX:
// format tag, channels, rate, bytes per second, block alignment, bits).
constexpr size_t kStreamFixedSize = 54;
constexpr size_t kWaveFormatSize = 16;

struct Codec {
    uint16_t formatTag;
    const char* text;
};
constexpr Codec kCodecs[] = {
    {0x000A, "WMA Voice"}, {0x0160, "WMA 1"}, {0x0161, "WMA Standard"}, {0x0162, "WMA Pro"}, {0x0163, "WMA Lossless"},
};
constexpr char kUnknownCodec[] = "Unknown";

// The bytes of the file from position up to end, at most scratch.size() of
// them, as a cursor; empty from end on.
ByteCursor Window(BinaryFile& file, int64_t position, int64_t end, std::span<uint8_t> scratch) {
    if (position >= end) return {};
    const auto size = static_cast<size_t>(std::min<int64_t>(end - position, static_cast<int64_t>(scratch.size())));
    return CursorAt(file, position, scratch.first(size));
}

Guid TakeGuid(ByteCursor& c) {
    Guid guid;
    c.CopyTo(guid.data(), guid.size());
    return guid;
}

// 16-bit little-endian units up to the first zero unit.
std::u16string Units(std::span<const uint8_t> bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t k = 0; k + 1 < bytes.size(); k += 2) {
        const auto unit = static_cast<char16_t>(bytes[k] | bytes[k + 1] << 8);
        if (unit == 0) break;
        units.push_back(unit);
    }
    return units;
}

std::string Utf16Text(std::span<const uint8_t> bytes) { return TrimBoth(WideToSystem(Units(bytes))); }

bool SameName(std::u16string_view units, std::string_view name) {
    auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; };
    return units.size() == name.size() &&
           std::equal(units.begin(), units.end(), name.begin(),
                      [&](char16_t unit, char c) { return upper(unit) == upper(static_cast<unsigned char>(c)); });
}

// A descriptor's value as text: UTF-16 texts converted, numbers in decimal,
// byte arrays and unknown types empty.
std::string ValueText(uint16_t type, std::span<const uint8_t> value) {
    switch (type) {
        case asf::kUnicode:
            return Utf16Text(value);
        case asf::kBool:
        case asf::kDword:
        case asf::kQword:
        case asf::kWord: {
            uint64_t number = 0;
            for (size_t i = std::min<size_t>(value.size(), 8); i-- > 0;) number = number << 8 | value[i];
            return number <= uint64_t{std::numeric_limits<int64_t>::max()} ? IntText(static_cast<int64_t>(number)) : "";
        }
        default:
            return {};
    }
}

void ReadFileProperties(BinaryFile& file, int64_t content, int64_t end, TWMAfile& wma) {
    uint8_t scratch[kFilePropertiesSize];
    ByteCursor c = Window(file, content, end, scratch);
    c.Skip(16 + 8 + 8 + 8);  // file id, file size (taggers leave it stale), creation date, packets
    wma.PlayDuration = c.LE64();
    c.Skip(8);
    wma.Preroll = c.LE64();
    c.Skip(4 + 8);  // flags, packet sizes
    wma.MaxBitRate = c.LE32();
}

// The first audio stream with a channel count and a rate is the one described.
void ReadStreamProperties(BinaryFile& file, int64_t content, int64_t end, TWMAfile& wma) {
    uint8_t scratch[kStreamFixedSize + kWaveFormatSize];
    ByteCursor c = Window(file, content, end, scratch);
    if (wma.HasAudio || TakeGuid(c) != asf::kAudioMedia) return;
    c.Skip(16 + 8);  // error correction type, time offset
    const uint32_t formatLength = c.LE32();
    c.Skip(4 + 2 + 4);
    ByteCursor format(c.Take(std::min<uint32_t>(formatLength, kWaveFormatSize)));
    const uint16_t formatTag = format.LE16();
    const uint16_t channels = format.LE16();
    const uint32_t rate = format.LE32();
    const uint32_t bytesPerSecond = format.LE32();
    format.Skip(2);
    const uint16_t bits = format.LE16();
    if (channels == 0 || rate == 0) return;
    wma.HasAudio = true;
    wma.FormatTag = formatTag;
    wma.Channels = channels;
    wma.SampleRate = rate;
    wma.BytesPerSecond = bytesPerSecond;
    wma.BitsPerSample = bits;
}

// Five text lengths, then the texts one after the other.
void ReadContentDescription(BinaryFile& file, int64_t content, int64_t end, Slots& slots) {
    uint8_t scratch[2 * kDescribedLengths];
    ByteCursor c = Window(file, content, end, scratch);
    uint16_t lengths[kDescribedLengths];
    for (auto& length : lengths) length = c.LE16();
    int64_t at = content + static_cast<int64_t>(sizeof scratch);
    for (size_t i = 0; i < std::size(kDescribed); ++i) {
        uint8_t text[TWMAfile::kTextBytes];
        slots[kDescribed[i]] = Utf16Text(Window(file, at, std::min(end, at + lengths[i]), text).Rest());
        at += lengths[i];
    }
}

// A count, then descriptors: the name's length and name, the value's type,
// length and value. Only the values of known names are read; a later one
// replaces an earlier one of the same name.
void ReadExtendedContent(BinaryFile& file, int64_t content, int64_t end, Slots& slots) {
    uint8_t countScratch[2];
    ByteCursor head = Window(file, content, end, countScratch);
    uint16_t count = 0;
    if (!head.TryLE16(count)) return;
    int64_t at = content + 2;
    for (int i = 0; i < count && i < TWMAfile::kMaxDescriptors; ++i) {
        uint8_t nameScratch[2 + kNameBytes];
        ByteCursor c = Window(file, at, end, nameScratch);
        uint16_t nameLength = 0;
        if (!c.TryLE16(nameLength)) return;
        const auto name = c.Take(nameLength);
        const std::u16string units = name.size() == nameLength ? Units(name) : std::u16string();
        const int64_t fieldsAt = at + 2 + nameLength;
        uint8_t fieldScratch[4];
        ByteCursor fields = Window(file, fieldsAt, end, fieldScratch);
        uint16_t type = 0, valueLength = 0;
        if (!fields.TryLE16(type) || !fields.TryLE16(valueLength)) return;
        const int64_t valueAt = fieldsAt + 4;
        const auto known = std::find_if(std::begin(kDescriptors), std::end(kDescriptors),
                                        [&](const Descriptor& d) { return SameName(units, d.name); });
        if (known != std::end(kDescriptors)) {
            uint8_t value[TWMAfile::kTextBytes];
            slots[known->slot] = ValueText(type, Window(file, valueAt, std::min(end, valueAt + valueLength), value).Rest());
        }
        at = valueAt + valueLength;
    }
}

}  // namespace

TWMAfile::TWMAfile(FileOpener& files) : Ttag(files) { ClearFields(); }

void TWMAfile::ResetFields() {
    FileLength = 0;
    PlayDuration = 0;
    Preroll = 0;
    MaxBitRate = 0;
    HasAudio = false;
    FormatTag = 0;
    Channels = 0;
    SampleRate = 0;
    BytesPerSecond = 0;
    BitsPerSample = 0;
    Tags = {};
}

// The objects inside the header object, in file order, up to its declared
// end (never past the file's), the first kMaxObjects of them; the walk stops
// at an object too small to be one or at the data object.
bool TWMAfile::ReadFields(const std::string& fileName) {
    auto file = OpenOrThrow(files(), fileName, ShareMode::DenyWriters);
    const int64_t fileSize = file->Size();
    uint8_t scratch[asf::kHeaderObjectSize];
    ByteCursor head = Window(*file, 0, fileSize, scratch);
    if (head.Size() < asf::kHeaderObjectSize || TakeGuid(head) != asf::kHeaderObject) return false;
    const int64_t end = static_cast<int64_t>(std::min<uint64_t>(head.LE64(), static_cast<uint64_t>(fileSize)));
    FileLength = fileSize;

    Slots described, extended;
    int64_t at = asf::kHeaderObjectSize;
    for (int n = 0; n < kMaxObjects; ++n) {
        uint8_t objectScratch[asf::kObjectHeaderSize];
        ByteCursor object = Window(*file, at, end, objectScratch);
        if (object.Size() < asf::kObjectHeaderSize) break;
        const Guid id = TakeGuid(object);
        const uint64_t size = object.LE64();
        if (size < asf::kObjectHeaderSize || id == asf::kDataObject) break;
        const int64_t content = at + static_cast<int64_t>(asf::kObjectHeaderSize);
        const int64_t objectEnd = size > static_cast<uint64_t>(end - at) ? end : at + static_cast<int64_t>(size);
        if (id == asf::kFileProperties) ReadFileProperties(*file, content, objectEnd, *this);
        if (id == asf::kStreamProperties) ReadStreamProperties(*file, content, objectEnd, *this);
        if (id == asf::kContentDescription) ReadContentDescription(*file, content, objectEnd, described);
        if (id == asf::kExtendedContentDescription) ReadExtendedContent(*file, content, objectEnd, extended);
        at = objectEnd;
    }

    auto text = [&](Slot slot) { return !described[slot].empty() ? described[slot] : extended[slot]; };
    Tags.Title = text(kTitle);
    Tags.Artist = text(kAuthor);
    Tags.Copyright = text(kCopyright);
    Tags.Comment = text(kDescription);
    Tags.Album = text(kAlbum);
    Tags.Year = text(kYear);
    Tags.TrackText = text(kTrackNumber);
    Tags.Track = static_cast<uint16_t>(TrackFromText(Tags.TrackText));
    Tags.Genre = text(kGenre);
    Tags.Composer = text(kComposer);
    Tags.Encoder = text(kEncodedBy);
    Tags.Settings = text(kSettings);
    Tags.Language = text(kLanguage);
    Tags.Link = text(kLink);
    return true;
}

// The play duration counts the preroll, which is not heard.
double TWMAfile::DurationSeconds() const {
    const double seconds = static_cast<double>(PlayDuration) / 1e7 - static_cast<double>(Preroll) / 1000;
    return seconds > 0 ? seconds : 0;
}

// The audio stream's average, else the file's maximum.
int64_t TWMAfile::BitRateKbps() const {
    return RoundTiesEven((BytesPerSecond > 0 ? BytesPerSecond * 8.0 : double(MaxBitRate)) / 1000);
}

bool TWMAfile::IsValidStream() const { return HasAudio; }

std::string TWMAfile::ChannelText() const { return ChannelCountText(Channels); }

const char* TWMAfile::CodecText() const {
    for (const auto& codec : kCodecs)
        if (codec.formatTag == FormatTag) return codec.text;
    return kUnknownCodec;
}

bool TWMAfile::Open(const std::string& fileName) {
    const bool valid = ReadInfo(fileName) && IsValidStream();
    if (valid) TypeName = "wma";
    return valid;
}

void TWMAfile::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.typeencoder = CodecText();
    InfoSound.bitrate = IntText(BitRateKbps());
    InfoSound.bitratenom = IntText(RoundTiesEven(MaxBitRate / 1000.0));
    InfoSound.cnanmod = ChannelText();
    InfoSound.cnanmodid = IntText(Channels);
    InfoSound.bitpersamp = IntText(BitsPerSample);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.filelen = IntText(FileLength);
    InfoSound.samplrate = IntText(SampleRate);
    out = InfoSound;
}

void TWMAfile::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyCommonTag2Fields(Tags, InfoTag);
    if (!Tags.TrackText.empty()) {
        InfoTag.Track = IntText(Tags.Track);
        InfoTag.Tracktext2 = Tags.TrackText;
    }
    InfoTag.Language2 = Tags.Language;
    InfoTag.Link2 = Tags.Link;
    InfoTag.vendor = Tags.Settings;
    out = InfoTag;
}

std::string TWMAfile::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return ArtistDashTitle(Tags.Artist, Tags.Title);
}

}  // namespace qel
