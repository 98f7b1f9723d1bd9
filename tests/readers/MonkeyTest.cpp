#include <gtest/gtest.h>

#include "platform/FloatControl.h"
#include "readers/Monkey.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;

struct MacFile {
    uint16_t version = 3970;
    uint16_t compression = 2000;
    uint16_t flags = TMonkey::kFlagPeakLevel;
    uint16_t channels = 2;
    int32_t sampleRate = 44100;
    uint32_t wavHeaderLength = 44;  // as the header says
    size_t storedWavHeader = 44;     // as stored
    int32_t peak = 16384;
    uint32_t seekElements = 7;
    int32_t dataSize = 176400;
    size_t fileSize = 88222;  // audio up to this size
    bool id3v1 = false;

    Bytes Build() const {
        Bytes out;
        test::Append(out, "MAC ");
        test::AppendLE16(out, version);
        test::AppendLE16(out, compression);
        test::AppendLE16(out, flags);
        test::AppendLE16(out, channels);
        test::AppendLE32(out, static_cast<uint32_t>(sampleRate));
        test::AppendLE32(out, wavHeaderLength);
        test::AppendLE32(out, 0);     // terminating bytes
        test::AppendLE32(out, 10);    // total frames
        test::AppendLE32(out, 1000);  // samples in the final frame
        if (flags & TMonkey::kFlagPeakLevel) test::AppendLE32(out, static_cast<uint32_t>(peak));
        if (flags & TMonkey::kFlagSeekElements) test::AppendLE32(out, seekElements);
        if (!(flags & TMonkey::kFlagNoWavHeader)) {
            // A WAV header whose last 4 bytes are the data size.
            Bytes wav;
            test::Append(wav, "RIFF");
            wav.resize(storedWavHeader - 4, 0xAA);
            test::AppendLE32(wav, static_cast<uint32_t>(dataSize));
            out.insert(out.end(), wav.begin(), wav.end());
        }
        if (id3v1) {
            test::ID3v1Fields tag;
            tag.title = "Title";
            tag.artist = "Artist";
            tag.album = "Album";
            tag.year = "2001";
            tag.comment = std::string(28, 'c') + std::string(1, '\0') + "\x05";
            tag.genre = 17;
            Bytes bytes = test::ID3v1Tag(tag);
            if (out.size() + bytes.size() < fileSize) out.resize(fileSize - bytes.size(), 0x33);
            out.insert(out.end(), bytes.begin(), bytes.end());
        } else if (out.size() < fileSize) {
            out.resize(fileSize, 0x33);
        }
        return out;
    }
};

struct Analysed : test::AnalysedBytes<TMonkey> {
    explicit Analysed(const MacFile& file) : AnalysedBytes(file.Build()) {}
    explicit Analysed(Bytes bytes) : AnalysedBytes(std::move(bytes)) {}
};

TEST(Monkey, StereoNormalWithPeakLevel) {
    Analysed a{MacFile{}};
    ASSERT_TRUE(a.read);
    ASSERT_TRUE(a.open);
    EXPECT_EQ(a.reader.TypeName, "mon");
    Tinfosound expected;
    expected.version = "3.97";
    expected.compresion = "Normal";
    expected.cnanmod = "Stereo";
    expected.bits = "16";
    expected.duration = "1";
    expected.ratio = "50";
    expected.peak = "50";
    expected.filelen = "88222";
    expected.samplrate = "44100";
    EXPECT_EQ(a.sound, expected);
    EXPECT_EQ(a.tags, Tinfotag{});
    EXPECT_EQ(a.ArtistTitle(), "");
}

TEST(Monkey, OptionalFieldsMoveTheWavHeaderTail) {
    for (uint16_t flags : {0, 0x04, 0x10, 0x14}) {
        MacFile f;
        f.flags = flags;
        Analysed a{f};
        ASSERT_TRUE(a.open) << flags;
        EXPECT_EQ(a.reader.DataSize(), 176400) << flags;
        EXPECT_EQ(a.sound.peak, (flags & 0x04) ? "50" : "0") << flags;
    }
    // Without the peak flag, the bytes where the peak would be are not taken as one.
    MacFile f;
    f.flags = 0;
    Analysed a{f};
    EXPECT_EQ(a.reader.PeakLevel(), 0);
}

TEST(Monkey, SampleWidthsScaleThePeak) {
    MacFile f;
    f.flags = TMonkey::kFlagPeakLevel | TMonkey::kFlag24Bit;
    f.peak = 4194304;
    Analysed wide{f};
    EXPECT_EQ(wide.sound.bits, "24");
    EXPECT_EQ(wide.sound.peak, "50");
    f.flags = TMonkey::kFlagPeakLevel | TMonkey::kFlag8Bit;
    f.peak = 32;
    Analysed narrow{f};
    EXPECT_EQ(narrow.sound.bits, "8");
    EXPECT_EQ(narrow.sound.peak, "25");
    EXPECT_EQ(narrow.sound.duration, "2");
    f.flags = TMonkey::kFlag24Bit | TMonkey::kFlag8Bit;
    Analysed both{f};
    EXPECT_EQ(both.sound.bits, "24");
}

TEST(Monkey, RatioIsOneDoubleQuotientWhateverTheX87ControlWord) {
    // 120054 / 176512 * 100 in doubles is 68.014639231327038; kept in x87
    // extended precision between the two steps it would print ...271.
    MacFile f;
    f.dataSize = 176468;
    f.fileSize = 120054;
    const FloatControl saved = SaveFloatControl();
    // Extended precision, and precision cut to 24 bits, as a module may leave it.
    for (uint16_t x87 : {uint16_t{0x037F}, uint16_t{0x007F}}) {
        RestoreFloatControl({x87, saved.sse});
        Analysed a{f};
        RestoreFloatControl(saved);
        EXPECT_EQ(a.sound.ratio, "68.014639231327") << std::hex << x87;
    }
}

TEST(Monkey, NoWavHeaderGivesNoDurationOrRatioAndReadsNoTail) {
    for (uint32_t length : {0u, 44u, 0xFFFFFFF0u}) {
        MacFile f;
        f.flags = TMonkey::kFlagNoWavHeader;
        f.wavHeaderLength = length;
        Analysed a{f};
        ASSERT_TRUE(a.read) << length;
        EXPECT_TRUE(a.open);
        EXPECT_EQ(a.sound.duration, "0");
        EXPECT_EQ(a.sound.ratio, "0");
        EXPECT_EQ(a.reader.DataSize(), 0);
    }
}

TEST(Monkey, TablesAndTheirUnknownEntries) {
    const std::vector<std::pair<uint16_t, std::string>> levels = {
        {0, "Unknown"}, {1000, "Fast"}, {1999, "Fast"}, {3000, "High"}, {4000, "Extra High"},
        {5000, "Unknown"}, {7000, "Unknown"}, {65535, "Unknown"}};
    for (const auto& [level, text] : levels) {
        MacFile f;
        f.compression = level;
        EXPECT_EQ(Analysed{f}.sound.compresion, text) << level;
    }
    const std::vector<std::pair<uint16_t, std::string>> channels = {
        {1, "Mono"}, {2, "Stereo"}, {3, "Unknown"}, {6, "Unknown"}};
    for (const auto& [count, text] : channels) {
        MacFile f;
        f.channels = count;
        EXPECT_EQ(Analysed{f}.sound.cnanmod, text) << count;
    }
    MacFile f;
    f.version = 0;
    EXPECT_EQ(Analysed{f}.sound.version, "");
    f.version = 990;
    EXPECT_EQ(Analysed{f}.sound.version, "0.99");
    f.version = 12340;
    EXPECT_EQ(Analysed{f}.sound.version, "12.34");
}

TEST(Monkey, InvalidStreamsAndFailedReads) {
    {
        MacFile f;
        f.sampleRate = 0;
        Analysed a{f};
        EXPECT_TRUE(a.read);
        EXPECT_FALSE(a.open);
        EXPECT_TRUE(a.reader.TypeName.empty());
        EXPECT_EQ(a.sound.bits, "0");
        EXPECT_EQ(a.sound.duration, "0");
    }
    {
        MacFile f;
        f.channels = 0;
        EXPECT_FALSE(Analysed{f}.open);
    }
    {
        // A leading ID3v2 tag is not skipped.
        Bytes bytes = test::ID3v2Builder(3).Frame("TIT2", test::Latin1Text("x")).Build();
        Bytes mac = MacFile{}.Build();
        bytes.insert(bytes.end(), mac.begin(), mac.end());
        Analysed a{bytes};
        EXPECT_TRUE(a.read);
        EXPECT_FALSE(a.open);
    }
    for (uint32_t length : {0u, 3u, 100000u, 0xFFFFFFFFu}) {
        // The tail would start before the file or end behind it.
        MacFile f;
        f.flags = 0;
        f.wavHeaderLength = length;
        f.fileSize = 1000;
        Analysed a{f};
        EXPECT_FALSE(a.read) << length;
        EXPECT_FALSE(a.open);
        EXPECT_EQ(a.reader.FileLength, 0);
        EXPECT_EQ(a.sound.filelen, "0");
    }
    {
        MacFile f;
        f.fileSize = 100;  // shorter than an ID3v1 tag
        EXPECT_FALSE(Analysed{f}.read);
    }
    MemoryFiles none;
    TMonkey missing(none);
    EXPECT_FALSE(missing.ReadInfo("missing.mac"));
    EXPECT_FALSE(missing.Open("missing.mac"));
    EXPECT_EQ(missing.ArtistTitle("missing.mac"), "");
}

TEST(Monkey, DamagedDataSizeGivesNoDivisionByZero) {
    MacFile f;
    f.dataSize = -44;
    Analysed a{f};
    EXPECT_EQ(a.sound.ratio, "0");
    f.dataSize = 0x7FFFFFFF;  // the 44 added must not wrap
    Analysed big{f};
    EXPECT_GT(big.reader.RatioPercent(), 0);
}

// Version 3.99: a descriptor of the given length, then the header it points
// to (24-bit stereo 44100 Hz, frames of 294912 blocks), in 5000 bytes.
Bytes Described(uint32_t length, uint16_t flags, uint32_t frames, uint32_t finalBlocks) {
    Bytes out;
    test::Append(out, "MAC ");
    test::AppendLE16(out, 3990);
    test::AppendLE16(out, 0);
    test::AppendLE32(out, length);
    out.resize(length, 0);
    for (uint32_t field : {2000u, uint32_t{flags}}) test::AppendLE16(out, static_cast<uint16_t>(field));
    for (uint32_t field : {294912u, finalBlocks, frames}) test::AppendLE32(out, field);
    for (uint32_t field : {24u, 2u}) test::AppendLE16(out, static_cast<uint16_t>(field));
    test::AppendLE32(out, 44100);
    out.resize(5000, 0x33);
    return out;
}

// The described header gives the play time from its blocks, wherever the
// descriptor puts it and whether a WAV header is stored or not.
TEST(Monkey, Version398AndLaterReadTheDescribedHeader) {
    for (auto [length, flags] : {std::pair<uint32_t, uint16_t>{52, 0}, {60, TMonkey::kFlagNoWavHeader}}) {
        Analysed a(Described(length, flags, 2, 10000));  // 304912 blocks
        ASSERT_TRUE(a.open);
        EXPECT_EQ(a.sound.version, "3.99");
        EXPECT_EQ(a.sound.samplrate, "44100");
        EXPECT_EQ(a.sound.duration, RealText(304912 / 44100.0));
        EXPECT_EQ(a.sound.bits, "24");
        EXPECT_EQ(a.sound.ratio, RealText(5000 / (304912 * 6 + 44.0) * 100));
        EXPECT_EQ(a.sound.peak, "0");  // not stored
    }
    // A header past the end of the file fails the read; the largest counts stay finite.
    EXPECT_FALSE(Analysed(Described(4990, 0, 2, 10000)).read);
    EXPECT_GT(Analysed(Described(52, 0, 0xFFFFFFFF, 0xFFFFFFFF)).reader.DurationSeconds(), 1e10);
}

TEST(Monkey, ID3v1TagFillsTheTagsAndTheTitle) {
    MacFile f;
    f.id3v1 = true;
    Analysed a{f};
    ASSERT_TRUE(a.open);
    EXPECT_EQ(a.sound.filelen, "88222");
    Tinfotag expected;
    expected.Title1 = "Title";
    expected.Artist1 = "Artist";
    expected.Album1 = "Album";
    expected.Year1 = "2001";
    expected.Comment1 = std::string(28, 'c');
    expected.Track = "5";
    expected.Genre1 = "Rock";
    EXPECT_EQ(a.tags, expected);
    EXPECT_EQ(a.ArtistTitle(), "Artist - Title");
}

}  // namespace
}  // namespace qel
