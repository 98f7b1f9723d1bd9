#include "readers/MP4file.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <limits>
#include <span>

#include "platform/CodePage.h"
#include "readers/AACfile.h"
#include "readers/FileBytes.h"
#include "readers/ID3Fields.h"
#include "readers/ID3v1.h"
#include "readers/MP4boxes.h"
#include "readers/TextForms.h"

namespace qel {

namespace {

constexpr uint32_t kFtyp = BoxType("ftyp"), kMoov = BoxType("moov"), kMdat = BoxType("mdat"),
                   kMvhd = BoxType("mvhd"), kTrak = BoxType("trak"), kMdia = BoxType("mdia"),
                   kMdhd = BoxType("mdhd"), kHdlr = BoxType("hdlr"), kMinf = BoxType("minf"),
                   kStbl = BoxType("stbl"), kStsd = BoxType("stsd"), kEsds = BoxType("esds"),
                   kAlac = BoxType("alac"), kWave = BoxType("wave"), kUdta = BoxType("udta"),
                   kMeta = BoxType("meta"), kIlst = BoxType("ilst"), kData = BoxType("data"),
                   kSoun = BoxType("soun"), kTrkn = BoxType("trkn"), kGnre = BoxType("gnre");

// The item list's text items and the fields they fill.
struct TextItem {
    uint32_t type;
    std::string MP4Tags::*field;
};
constexpr TextItem kTextItems[] = {
    {BoxType("\xA9" "nam"), &MP4Tags::Title},    {BoxType("\xA9" "ART"), &MP4Tags::Artist},
    {BoxType("\xA9" "alb"), &MP4Tags::Album},    {BoxType("\xA9" "day"), &MP4Tags::Year},
    {BoxType("\xA9" "gen"), &MP4Tags::Genre},    {BoxType("\xA9" "cmt"), &MP4Tags::Comment},
    {BoxType("\xA9" "wrt"), &MP4Tags::Composer}, {BoxType("\xA9" "too"), &MP4Tags::Encoder},
    {BoxType("cprt"), &MP4Tags::Copyright},
};
constexpr size_t kYearLength = 4;  // characters of the date kept
constexpr uint32_t kUtf8Data = 1;  // an item value's type: UTF-8 text

// Bytes read at most from a box: the fixed fields of a header, a decoder
// configuration, an item's value.
constexpr size_t kFieldBytes = 64;
constexpr size_t kConfigBytes = 256;
constexpr size_t kValueBytes = 1024;

// The MPEG-4 decoder configuration's object types.
constexpr uint8_t kMpeg4Audio = 0x40;
constexpr uint8_t kMpeg2AacMain = 0x66, kMpeg2AacSsr = 0x68;  // Main, LC, SSR in a row
// Descriptor tags inside "esds".
constexpr uint8_t kEsDescriptor = 3, kDecoderConfig = 4, kDecoderSpecificInfo = 5;

constexpr int64_t kMaxRate = std::numeric_limits<int32_t>::max();

// A cursor over the start of a box's content: up to scratch.size() bytes,
// never past the box's end; what is missing reads as zero.
ByteCursor ContentCursor(BinaryFile& file, const Box& box, std::span<uint8_t> scratch) {
    const auto size = static_cast<size_t>(std::min<int64_t>(box.ContentSize(), static_cast<int64_t>(scratch.size())));
    return CursorAt(file, box.content, scratch.first(size));
}

// A whole number of bits per second, or 0 when it does not fit the field.
int32_t RateOrZero(double rate) {
    if (!(rate > 0) || rate > double(kMaxRate)) return 0;
    return static_cast<int32_t>(RoundTiesEven(rate));
}

// "mvhd" and "mdhd" begin alike: version, flags, creation and modification
// times, time scale, duration (times and duration 64-bit in version 1).
double HeaderDuration(BinaryFile& file, const Box& box) {
    uint8_t scratch[kFieldBytes];
    ByteCursor c = ContentCursor(file, box, scratch);
    const bool wide = c.U8() == 1;
    c.Skip(3 + (wide ? 16 : 8));
    const uint32_t scale = c.BE32();
    const uint64_t duration = wide ? c.BE64() : c.BE32();
    const uint64_t unknown = wide ? std::numeric_limits<uint64_t>::max() : std::numeric_limits<uint32_t>::max();
    if (scale == 0 || duration == unknown) return 0;
    return double(duration) / scale;
}

// A descriptor's tag and length (1 to 4 bytes of 7 bits each).
bool ReadDescriptor(ByteCursor& c, uint8_t& tag, uint32_t& length) {
    if (!c.TryU8(tag)) return false;
    length = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t b = 0;
        if (!c.TryU8(b)) return false;
        length = (length << 7) | (b & 0x7Fu);
        if (!(b & 0x80)) break;
    }
    return true;
}

// What a decoder configuration says; 0 where it says nothing.
struct DecoderConfig {
    bool aac = false;
    uint8_t profileId = 0;
    uint8_t channels = 0;
    int32_t sampleRate = 0;
    uint32_t maxBitRate = 0, avgBitRate = 0;
    bool lossless = false;
    // An AAC stream that may carry SBR without saying so: its output rate
    // may be twice sampleRate, which only the sample entry then tells.
    bool sbrUnsaid = false;
};

// Audio object types whose configuration is the general audio one, and those
// among them that may carry SBR without signalling it.
constexpr uint32_t kGeneralAudioTypes[] = {1, 2, 3, 4, 6, 7, 17, 19, 20, 21, 22, 23};
constexpr uint32_t kImplicitSbrTypes[] = {1, 2, 3, 4, 6, 17, 19, 20, 22};
constexpr uint32_t kSbrType = 5, kPsType = 29;
constexpr uint32_t kSbrSync = 0x2B7;  // a backward-compatible extension follows
constexpr int32_t kMaxSbrCoreRate = 24000;

template <size_t N>
bool IsOneOf(uint32_t type, const uint32_t (&types)[N]) {
    return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

// The AAC audio specific configuration: object type, sampling frequency and
// channel configuration, and the output rate of SBR: from the extension type
// in front (hierarchical), from a sync extension behind the general audio
// configuration (backward-compatible), or left unsaid.
void ReadAudioSpecificConfig(std::span<const uint8_t> bytes, DecoderConfig& config) {
    const BitWindow bits(bytes);
    const uint64_t size = bytes.size() * 8;
    uint64_t at = 0;
    auto take = [&](unsigned count) {
        const uint32_t value = bits.Bits(at, count);
        at += count;
        return value;
    };
    auto objectType = [&] {
        const uint32_t type = take(5);
        return type == 31 ? 32 + take(6) : type;
    };
    auto sampleRate = [&] {
        const uint32_t index = take(4);
        return index == 15 ? static_cast<int32_t>(take(24)) : AACSampleRate(index);
    };
    const uint32_t type = objectType();
    int32_t rate = sampleRate();
    const uint32_t layout = take(4);
    bool sbrSaid = false;
    if (type == kSbrType || type == kPsType) {
        rate = sampleRate();  // SBR: the extension's rate is the output rate
        sbrSaid = true;
    } else if (IsOneOf(type, kGeneralAudioTypes) && layout != 0) {  // layout 0 brings a program configuration
        take(1);                           // frame length
        if (take(1)) take(14);             // core coder delay
        const bool extension = take(1);
        if (type == 6 || type == 20) take(3);  // layer
        if (extension) {
            if (type == 22) take(5 + 11);                           // sub-frames, layer length
            if (type == 17 || type == 19 || type == 20 || type == 23) take(3);  // resilience flags
            take(1);
        }
        if (at + 16 <= size && take(11) == kSbrSync && objectType() == kSbrType) {
            sbrSaid = true;
            if (take(1)) rate = sampleRate();  // SBR present
        }
    }
    config.profileId = type >= 1 && type <= 4 ? static_cast<uint8_t>(type) : 0;
    config.sampleRate = rate;
    config.sbrUnsaid = !sbrSaid && IsOneOf(type, kImplicitSbrTypes) && rate > 0 && rate <= kMaxSbrCoreRate;
    // Layouts 1 to 6 are that many channels, 7 is 7.1; 0 leaves it to the sample entry.
    config.channels = layout >= 1 && layout <= 6 ? static_cast<uint8_t>(layout) : layout == 7 ? 8 : 0;
}

// "esds": an ES descriptor holding the decoder configuration descriptor,
// which holds the decoder specific information.
void ReadEsds(BinaryFile& file, const Box& box, DecoderConfig& config) {
    uint8_t scratch[kConfigBytes];
    ByteCursor c = ContentCursor(file, box, scratch);
    c.Skip(4);  // version and flags
    uint8_t tag = 0, objectType = 0;
    uint32_t length = 0;
    while (ReadDescriptor(c, tag, length)) {
        if (tag == kEsDescriptor) {
            c.Skip(2);  // ES id; its children follow the flagged fields
            const uint8_t flags = c.U8();
            if (flags & 0x80) c.Skip(2);               // depends-on ES id
            if (flags & 0x40) c.Skip(c.U8());          // URL
            if (flags & 0x20) c.Skip(2);               // OCR ES id
        } else if (tag == kDecoderConfig) {
            objectType = c.U8();
            c.Skip(4);  // stream type, buffer size
            config.maxBitRate = c.BE32();
            config.avgBitRate = c.BE32();
            const bool mpeg2 = objectType >= kMpeg2AacMain && objectType <= kMpeg2AacSsr;
            config.aac = objectType == kMpeg4Audio || mpeg2;
            if (mpeg2) config.profileId = static_cast<uint8_t>(objectType - kMpeg2AacMain + 1);
        } else if (tag == kDecoderSpecificInfo) {
            const uint8_t mpeg2Profile = config.profileId;
            if (config.aac) ReadAudioSpecificConfig(c.Take(length), config);
            if (mpeg2Profile) config.profileId = mpeg2Profile;  // the object type names it
            return;
        } else {
            c.Skip(length);
        }
    }
}

// The "alac" box inside an ALAC sample entry: version and flags, then the
// decoder's configuration with the channels, average bit rate and rate.
void ReadAlacConfig(BinaryFile& file, const Box& box, DecoderConfig& config) {
    uint8_t scratch[kFieldBytes];
    ByteCursor c = ContentCursor(file, box, scratch);
    c.Skip(4 + 9);  // version, flags, frame length, version, bit depth, three tuning bytes
    config.channels = c.U8();
    c.Skip(2 + 4);  // maximum run, maximum frame bytes
    config.avgBitRate = c.BE32();
    config.sampleRate = static_cast<int32_t>(std::min<uint32_t>(c.BE32(), kMaxRate));
    config.lossless = true;
}

// The sample entry's own channel count and rate, then its decoder
// configuration, which wins where it is more exact.
void ReadSampleEntry(BinaryFile& file, const Box& entry, BoxBudget& budget, MP4Audio& audio, DecoderConfig& config) {
    uint8_t scratch[kFieldBytes];
    ByteCursor c = ContentCursor(file, entry, scratch);
    c.Skip(8);  // reserved bytes, data reference index
    const uint16_t version = c.BE16();
    c.Skip(6);  // revision, vendor
    uint32_t channels = c.BE16();
    c.Skip(6);  // sample size, compression id, packet size
    int32_t rate = static_cast<int32_t>(c.BE32() >> 16);  // 16.16 fixed point
    int64_t childrenAt = 28;
    if (version == 1) {
        childrenAt += 16;  // four sizes of packets and frames
    } else if (version == 2) {
        c.Skip(4);  // size of the structure
        rate = RateOrZero(std::bit_cast<double>(c.BE64()));
        channels = c.BE32();
        childrenAt += 36;
    }
    audio.Format = entry.type;
    audio.Channels = static_cast<uint8_t>(channels);
    audio.SampleRate = rate;

    BoxWalker children(file, entry, budget, childrenAt);
    for (Box box; children.Next(box);) {
        if (box.type == kEsds) ReadEsds(file, box, config);
        if (box.type == kAlac) ReadAlacConfig(file, box, config);
        if (box.type == kWave) {  // older files wrap the configuration
            BoxWalker wrapped(file, box, budget);
            Box esds;
            if (wrapped.Find(kEsds, esds)) ReadEsds(file, esds, config);
        }
    }
    if (config.channels > 0) audio.Channels = config.channels;
    // The configuration's rate is more exact, unless the sample entry gives
    // the doubled rate of SBR that the configuration leaves unsaid.
    const bool sbrOutputRate = config.sbrUnsaid && int64_t{audio.SampleRate} == int64_t{config.sampleRate} * 2;
    if (config.sampleRate > 0 && !sbrOutputRate) audio.SampleRate = config.sampleRate;
    audio.ProfileId = config.profileId;
}

// A track's media: its duration, and the first sample entry when the track
// is audio. True for an audio track with a sample entry.
bool ReadTrack(BinaryFile& file, const Box& trak, BoxBudget& budget, MP4Audio& audio, DecoderConfig& config) {
    Box mdia;
    BoxWalker inTrack(file, trak, budget);
    if (!inTrack.Find(kMdia, mdia)) return false;
    double duration = 0;
    bool sound = false;
    Box minf{}, box;
    for (BoxWalker media(file, mdia, budget); media.Next(box);) {
        if (box.type == kMdhd) duration = HeaderDuration(file, box);
        if (box.type == kMinf) minf = box;
        if (box.type == kHdlr) {
            // Version, flags and a reserved word come before the handler type.
            uint8_t scratch[12];
            ByteCursor c = ContentCursor(file, box, scratch);
            c.Skip(8);
            uint32_t handler = 0;
            sound = c.TryBE32(handler) && handler == kSoun;
        }
    }
    Box stbl, stsd, entry;
    if (!sound || minf.type != kMinf) return false;
    if (!BoxWalker(file, minf, budget).Find(kStbl, stbl) || !BoxWalker(file, stbl, budget).Find(kStsd, stsd)) return false;
    // Version, flags and the entry count come before the entries.
    if (!BoxWalker(file, stsd, budget, 8).Next(entry)) return false;
    ReadSampleEntry(file, entry, budget, audio, config);
    audio.Duration = duration;
    return true;
}

// An item's first "data" box: its value type and up to kValueBytes of its value.
bool ReadItemValue(BinaryFile& file, const Box& item, BoxBudget& budget, uint32_t& kind, std::string& value) {
    Box data;
    if (!BoxWalker(file, item, budget).Find(kData, data)) return false;
    uint8_t scratch[8 + kValueBytes];
    ByteCursor c = ContentCursor(file, data, scratch);
    kind = c.BE32() & 0xFFFFFF;  // a version byte, then the type
    c.Skip(4);                   // locale
    const std::string_view rest = c.TakeText(kValueBytes);
    value.assign(rest);
    return true;
}

// Reads the items this system shows; others (pictures, lyrics) stay unread.
void ReadItem(BinaryFile& file, const Box& item, BoxBudget& budget, MP4Tags& tags, std::string& genreByNumber) {
    const auto text = std::find_if(std::begin(kTextItems), std::end(kTextItems),
                                   [&](const TextItem& known) { return known.type == item.type; });
    if (text == std::end(kTextItems) && item.type != kTrkn && item.type != kGnre) return;
    uint32_t kind = 0;
    std::string value;
    if (!ReadItemValue(file, item, budget, kind, value)) return;
    if (text != std::end(kTextItems)) {
        if (kind == kUtf8Data) tags.*text->field = WideToSystem(Utf8ToUtf16(value));
        return;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(value.data());
    if (item.type == kTrkn && value.size() >= 4) {
        // Two reserved bytes, the track number, the total (when there).
        tags.HasTrack = true;
        tags.Track = LoadBE16(bytes + 2);
        const uint16_t total = value.size() >= 6 ? LoadBE16(bytes + 4) : 0;
        tags.TrackText = IntText(tags.Track);
        if (total) tags.TrackText.append("/").append(IntText(total));
        return;
    }
    if (item.type == kGnre && value.size() >= 2) {
        // A genre number: the ID3v1 genre index plus one.
        const uint16_t number = LoadBE16(bytes);
        genreByNumber = number > 0 ? ID3v1GenreName(number - 1u) : "";
    }
}

// "meta" is a full box (version and flags before its children) in MP4
// files, a plain one in some older files: there its handler box comes first.
void ReadMeta(BinaryFile& file, const Box& meta, BoxBudget& budget, MP4Tags& tags) {
    uint8_t scratch[8];
    ByteCursor head = ContentCursor(file, meta, scratch);
    uint32_t first = 0, second = 0;
    const bool plain = head.TryBE32(first) && head.TryBE32(second) && second == kHdlr;
    Box ilst, item;
    if (!BoxWalker(file, meta, budget, plain ? 0 : 4).Find(kIlst, ilst)) return;
    tags.Present = true;
    std::string genreByNumber;
    for (BoxWalker items(file, ilst, budget); items.Next(item);) ReadItem(file, item, budget, tags, genreByNumber);
    if (tags.Genre.empty()) tags.Genre = genreByNumber;
    tags.Year = tags.Year.substr(0, kYearLength);
}

// Choices that need the whole movie: the bit rate and its type.
void SettleBitRate(MP4Audio& audio, const DecoderConfig& config, int64_t mediaBytes) {
    audio.BitRate = config.avgBitRate <= kMaxRate ? static_cast<int32_t>(config.avgBitRate) : 0;
    if (audio.BitRate == 0 && audio.Duration > 0) audio.BitRate = RateOrZero(double(mediaBytes) * 8 / audio.Duration);
    if (config.lossless)
        audio.BitRateTypeId = 2;
    else if (config.maxBitRate > 0 && config.avgBitRate > 0)
        audio.BitRateTypeId = config.maxBitRate == config.avgBitRate ? 1 : 2;
}

void ReadMovie(BinaryFile& file, const Box& moov, BoxBudget& budget, MP4Info& info, DecoderConfig& config) {
    double movieDuration = 0;
    Box box, inner;
    for (BoxWalker children(file, moov, budget); children.Next(box);) {
        if (box.type == kMvhd) movieDuration = HeaderDuration(file, box);
        if (box.type == kTrak && !info.Audio.Found) info.Audio.Found = ReadTrack(file, box, budget, info.Audio, config);
        if (box.type == kMeta) ReadMeta(file, box, budget, info.Tags);
        if (box.type == kUdta && BoxWalker(file, box, budget).Find(kMeta, inner)) ReadMeta(file, inner, budget, info.Tags);
    }
    if (info.Audio.Duration <= 0) info.Audio.Duration = movieDuration;
}

}  // namespace

bool IsMP4(BinaryFile& file, int64_t fileSize) {
    uint8_t scratch[8];
    ByteCursor head = CursorAt(file, 0, scratch);
    uint32_t size = 0, type = 0;
    // A brand and its version at least; sizes 0 and 1 are no "ftyp" box's.
    return head.TryBE32(size) && head.TryBE32(type) && type == kFtyp && size >= 16 && size <= fileSize;
}

MP4Info ReadMP4(BinaryFile& file, int64_t fileSize) {
    MP4Info info;
    DecoderConfig config;
    BoxBudget budget;
    int64_t mediaBytes = 0;
    bool movieRead = false;
    Box box;
    for (BoxWalker top(file, fileSize, budget); top.Next(box);) {
        if (box.type == kMdat) mediaBytes += box.ContentSize();
        if (box.type == kMoov && !movieRead) {
            ReadMovie(file, box, budget, info, config);
            movieRead = true;
        }
    }
    if (info.Audio.Found) SettleBitRate(info.Audio, config, mediaBytes);
    return info;
}

void CopyMP4Fields(const MP4Tags& tags, Tinfotag& out) {
    if (!tags.Present) return;
    CopyCommonTag2Fields(tags, out);
    if (tags.HasTrack) {
        out.Track = IntText(tags.Track);
        out.Tracktext2 = tags.TrackText;
    }
}

}  // namespace qel
