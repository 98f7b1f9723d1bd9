#include "readers/OggVorbis.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"
#include "readers/ID3v2.h"
#include "readers/OggComments.h"
#include "readers/OggPacket.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

// Page header as read: the 27 fixed bytes and a 255-byte segment table.
constexpr size_t kPageHeadSize = 282;
constexpr size_t kPageFixedSize = 27;
constexpr size_t kGranuleOffset = 6;
constexpr size_t kSegmentCountOffset = 26;
constexpr char kPageMarker[] = "OggS";

// Identification header.
constexpr size_t kIdentSize = 30;
constexpr size_t kIdentChannels = 11;
constexpr size_t kIdentSampleRate = 12;
constexpr size_t kIdentNominal = 20;
constexpr uint8_t kIdentMagic[7] = {0x01, 'v', 'o', 'r', 'b', 'i', 's'};
constexpr uint8_t kCommentMagic[7] = {0x03, 'v', 'o', 'r', 'b', 'i', 's'};

// The backwards search for the last page: 50 windows of 251 bytes, each
// starting 241 bytes before the previous one, the first 251 bytes before the end.
constexpr int kSearchWindows = 50;
constexpr int64_t kWindowStep = 241;
constexpr int64_t kWindowTail = 10;
constexpr size_t kWindowSize = 251;

// Size of an ID3v2 tag in front of the Ogg data, 0 when there is none or it
// claims more than the file holds.
int32_t LeadingID3v2Size(BinaryFile& file, int64_t fileSize) {
    uint8_t head[TID3v2::kHeaderSize];
    ReadZeroFilled(file, 0, head, sizeof head);
    return std::memcmp(head, "ID3", 3) == 0 ? ID3v2TagSize(head, fileSize) : 0;
}

// Granule position (low 32 bits) of the page marker nearest the end of the
// file within the last 50 windows; 0 when there is none. The windows step
// back 241 bytes and overlap, so together they test every marker start from
// 10 bytes before the end down to the start of the last window, nearest the
// end first. A window that would begin before the file begins at its start
// instead and is the last one.
int32_t FindLastGranule(BinaryFile& file, int64_t fileSize) {
    const int64_t lastStart = kWindowStep * kSearchWindows + kWindowTail;
    const int64_t low = std::max<int64_t>(0, fileSize - lastStart);
    const int64_t high = fileSize >= static_cast<int64_t>(kWindowSize) ? fileSize - kWindowTail : kWindowStep;
    uint8_t scratch[kWindowStep * kSearchWindows + kWindowTail + 4];
    int64_t held = 0;
    const auto area = ViewZeroFilled(file, low, std::span(scratch, static_cast<size_t>(high - low + 4)), held);
    for (int64_t at = high - low; at >= 0; --at) {
        if (area[static_cast<size_t>(at)] != 'O' || std::memcmp(area.data() + at, kPageMarker, 4) != 0) continue;
        uint8_t granule[4];
        ReadZeroFilled(file, low + at + kGranuleOffset, granule, sizeof granule);
        return static_cast<int32_t>(LoadLE32(granule));
    }
    return 0;
}

}  // namespace

TOggVorbis::TOggVorbis(FileOpener& files) : Ttag(files) { ClearFields(); }

void TOggVorbis::ResetFields() {
    FileLength = 0;
    Channels = 0;
    SampleRate = 0;
    NominalKbps = 0;
    TotalSamples = 0;
    LeadingTagSize = 0;
    Title.clear();
    Artist.clear();
    Album.clear();
    Track = 0;
    Date.clear();
    Genre.clear();
    Comment.clear();
    Vendor.clear();
}

bool TOggVorbis::ReadFields(const std::string& fileName) {
    auto file = OpenOrThrow(files(), fileName, ShareMode::DenyWriters);
    const int64_t fileSize = file->Size();

    // Page headers cut by the end of the file read as zero bytes.
    const int32_t leadingTag = LeadingID3v2Size(*file, fileSize);
    uint8_t page[kPageHeadSize];
    ReadZeroFilled(*file, leadingTag, page, sizeof page);
    if (std::memcmp(page, kPageMarker, 4) != 0) return false;

    const int64_t identStart = leadingTag + page[kSegmentCountOffset] + kPageFixedSize;
    uint8_t ident[kIdentSize];
    ReadZeroFilled(*file, identStart, ident, sizeof ident);
    if (std::memcmp(ident, kIdentMagic, sizeof kIdentMagic) != 0) return false;

    // The identification header fills the first page; the comment packet
    // begins the second, which follows it, and may run over later pages.
    OggPacketReader commentPacket(*file, identStart + kIdentSize);
    OggCommentSlots slots;
    WalkCommentPacket(commentPacket, kCommentMagic, kOggCommentKeep, [&](std::string_view text) { slots.Store(text); });

    const int32_t totalSamples = FindLastGranule(*file, fileSize);

    FileLength = static_cast<int32_t>(static_cast<uint32_t>(fileSize));
    Channels = ident[kIdentChannels];
    SampleRate = LoadLE32(ident + kIdentSampleRate);
    const int32_t nominal = static_cast<int32_t>(LoadLE32(ident + kIdentNominal));
    NominalKbps = static_cast<uint16_t>(RoundTiesEven(nominal / 1000.0));
    TotalSamples = totalSamples;
    LeadingTagSize = leadingTag;
    OggCommentTexts texts = slots.Texts();
    Title = std::move(texts.Title);
    Artist = std::move(texts.Artist);
    Album = std::move(texts.Album);
    Track = texts.Track;
    Date = std::move(texts.Date);
    Genre = std::move(texts.Genre);
    Comment = std::move(texts.Comment);
    Vendor = std::move(texts.Vendor);
    return true;
}

double TOggVorbis::DurationSeconds() const {
    if (TotalSamples > 0) return SampleRate > 0 ? static_cast<double>(TotalSamples) / SampleRate : 0;
    if (NominalKbps > 0 && Channels > 0)
        return static_cast<double>(int64_t{FileLength} - LeadingTagSize) / NominalKbps / Channels / 125 * 2;
    return 0;
}

int64_t TOggVorbis::BitRateKbps() const {
    const double duration = DurationSeconds();
    if (duration <= 0) return 0;
    return RoundTiesEven(static_cast<double>(int64_t{FileLength} - LeadingTagSize) / duration / 125);
}

bool TOggVorbis::IsValidStream() const {
    return (Channels == 1 || Channels == 2) && SampleRate > 0 && DurationSeconds() > 0.1 &&
           static_cast<uint16_t>(BitRateKbps()) > 0;
}

// Streams of more than two channels never pass Open; their records still say what they are.
std::string TOggVorbis::ChannelText() const { return ChannelCountText(Channels); }

bool TOggVorbis::Open(const std::string& fileName) {
    const bool read = ReadInfo(fileName);
    const bool valid = IsValidStream();
    if (read && valid) TypeName = "ogg";
    return valid;
}

void TOggVorbis::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.bitrate = IntText(static_cast<uint16_t>(BitRateKbps()));
    InfoSound.bitratenom = IntText(NominalKbps);
    InfoSound.cnanmod = ChannelText();
    InfoSound.cnanmodid = IntText(Channels);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.filelen = IntText(FileLength);
    InfoSound.samplrate = IntText(SampleRate);
    out = InfoSound;
}

void TOggVorbis::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyOggCommentFields(*this, InfoTag);
    out = InfoTag;
}

std::string TOggVorbis::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return Artist + " - " + Title;
}

}  // namespace qel
