#include "readers/OggOpus.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"
#include "readers/OggPacket.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

constexpr char kPageMarker[] = "OggS";
constexpr size_t kPageFixedSize = 27;
constexpr size_t kGranuleOffset = 6;

// The identification header: magic, version (major version in the high
// four bits, only 0 is known), channels, pre-skip, input sample rate; then
// output gain and the channel mapping, not used.
constexpr uint8_t kHeadMagic[8] = {'O', 'p', 'u', 's', 'H', 'e', 'a', 'd'};
constexpr uint8_t kTagsMagic[8] = {'O', 'p', 'u', 's', 'T', 'a', 'g', 's'};
constexpr size_t kHeadSize = 16;
constexpr uint8_t kMajorVersionMask = 0xF0;

// The last page searched for from the end, a window at a time.
constexpr int64_t kSearchWindow = 4096;

// The granule position of the last whole page header whose marker lies in
// the last kLastPageSearch bytes, the one nearest the end first; pages that
// finish no packet (granule -1) are passed over. -1 when there is none.
int64_t FindLastGranule(BinaryFile& file, int64_t fileSize) {
    const int64_t floor = std::max<int64_t>(0, fileSize - TOggOpus::kLastPageSearch);
    const int64_t lastMarker = fileSize - static_cast<int64_t>(kPageFixedSize);
    uint8_t scratch[kSearchWindow + kPageFixedSize];
    for (int64_t end = lastMarker + 1; end > floor;) {
        const int64_t start = std::max(floor, end - kSearchWindow);
        int64_t held = 0;
        const auto area = ViewZeroFilled(file, start, std::span(scratch, static_cast<size_t>(end - start) + kPageFixedSize), held);
        for (int64_t at = end - start - 1; at >= 0; --at) {
            const uint8_t* page = area.data() + at;
            if (page[0] != 'O' || std::memcmp(page, kPageMarker, 4) != 0) continue;
            const auto granule = static_cast<int64_t>(LoadLE64(page + kGranuleOffset));
            if (granule != -1) return granule;
        }
        end = start;
    }
    return -1;
}

}  // namespace

TOggOpus::TOggOpus(FileOpener& files) : Ttag(files) { ClearFields(); }

void TOggOpus::ResetFields() {
    FileLength = 0;
    Channels = 0;
    PreSkip = 0;
    InputSampleRate = 0;
    AudioStart = 0;
    LastGranule = -1;
    Tags = {};
}

// The identification header begins the first page; the comment packet
// begins the page after the one that ends it and may run over later pages.
bool TOggOpus::ReadFields(const std::string& fileName) {
    auto file = OpenOrThrow(files(), fileName, ShareMode::DenyWriters);
    const int64_t fileSize = file->Size();
    uint8_t marker[4];
    if (ReadZeroFilled(*file, 0, marker, sizeof marker) < sizeof marker || std::memcmp(marker, kPageMarker, 4) != 0)
        return false;
    OggPacketReader headPacket(*file, 0);
    uint8_t head[kHeadSize];
    if (headPacket.Read(head, sizeof head) < sizeof head || std::memcmp(head, kHeadMagic, sizeof kHeadMagic) != 0 ||
        (head[8] & kMajorVersionMask) != 0 || head[9] == 0)
        return false;

    OggPacketReader tagsPacket(*file, headPacket.End());
    OggCommentSlots slots;
    WalkCommentPacket(tagsPacket, kTagsMagic, kOggCommentKeep, [&](std::string_view text) { slots.Store(text); });

    FileLength = fileSize;
    Channels = head[9];
    PreSkip = LoadLE16(head + 10);
    InputSampleRate = LoadLE32(head + 12);
    AudioStart = std::min(tagsPacket.End(), fileSize);
    LastGranule = FindLastGranule(*file, fileSize);
    Tags = slots.Texts();
    return true;
}

// The samples of the last page, less those the decoder drops at the start.
double TOggOpus::DurationSeconds() const {
    return LastGranule > PreSkip ? static_cast<double>(LastGranule - PreSkip) / kGranuleRate : 0;
}

// The pages behind the headers over the play time.
int64_t TOggOpus::BitRateKbps() const {
    const double duration = DurationSeconds();
    return duration > 0 ? RoundTiesEven(static_cast<double>(FileLength - AudioStart) / duration / 125) : 0;
}

uint32_t TOggOpus::SampleRate() const { return InputSampleRate > 0 ? InputSampleRate : uint32_t{48000}; }

bool TOggOpus::Open(const std::string& fileName) {
    const bool valid = ReadInfo(fileName);
    if (valid) TypeName = "opus";
    return valid;
}

void TOggOpus::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.typeencoder = "Opus";
    InfoSound.bitrate = IntText(BitRateKbps());
    InfoSound.cnanmod = ChannelCountText(Channels);
    InfoSound.cnanmodid = IntText(Channels);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.filelen = IntText(FileLength);
    InfoSound.samplrate = IntText(SampleRate());
    out = InfoSound;
}

void TOggOpus::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyOggCommentFields(Tags, InfoTag);
    out = InfoTag;
}

std::string TOggOpus::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return Tags.Artist + " - " + Tags.Title;
}

}  // namespace qel
