#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "readers/AACfile.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/CodePageExpect.h"
#include "support/ContainerBuilders.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;

// Writes fields most significant bit first.
class BitWriter {
public:
    BitWriter& Put(uint32_t value, unsigned count) {
        for (unsigned i = count; i-- > 0;) {
            if (bits_ % 8 == 0) bytes_.push_back(0);
            if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ % 8));
            ++bits_;
        }
        return *this;
    }
    Bytes bytes() const { return bytes_; }

private:
    Bytes bytes_;
    size_t bits_ = 0;
};

struct AdtsFrame {
    unsigned id = 0;  // 0 MPEG-4, 1 MPEG-2
    unsigned profile = 1;
    unsigned rateIndex = 4;  // 44100
    unsigned channels = 2;
    unsigned length = 372;
    unsigned fullness = 0x7FF;

    // A frame of `length` bytes (at least its 7-byte header).
    Bytes Build() const {
        BitWriter w;
        w.Put(0xFFF, 12).Put(id, 1).Put(0, 2).Put(1, 1);
        w.Put(profile, 2).Put(rateIndex, 4).Put(0, 1).Put(channels, 3);
        w.Put(0, 4).Put(length, 13).Put(fullness, 11).Put(0, 2);
        Bytes out = w.bytes();
        if (length > out.size()) out.resize(length, 0x21);
        return out;
    }
};

Bytes Frames(const AdtsFrame& frame, int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        Bytes one = frame.Build();
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

using Analysed = test::AnalysedBytes<TAACfile>;
using test::Concat;
using test::ID3v1ArtistTitle;

TEST(AACfile, ConstantRateADTSReadsOneFrameForBothMpegVersions) {
    for (unsigned id : {0u, 1u}) {
        AdtsFrame frame;
        frame.id = id;
        frame.fullness = 0x123;
        Analysed a(Frames(frame, 5));
        ASSERT_TRUE(a.open) << id;
        EXPECT_EQ(a.reader.TypeName, "aac");
        Tinfosound expected;
        expected.bitrate = "128166";  // round(372 * 8 / 1024 * 44100)
        expected.bitratetype = "CBR";
        expected.bitratetypeid = "1";
        expected.cnanmod = "2";
        expected.duration = RealText(372.0 * 5 * 8 / 128166);
        expected.filelen = "1860";
        expected.HeaderType = "ADTS";
        expected.HeaderTypeID = "2";
        expected.MPEGVersion = id ? "MPEG-2" : "MPEG-4";
        expected.MPEGVersionID = id ? "1" : "2";
        expected.profile = "AAC LC";
        expected.ProfileID = "2";
        expected.samplrate = "44100";
        EXPECT_EQ(a.sound, expected);
    }
}

TEST(AACfile, VariableRateWalkCountsTheFailedAttemptAndStopsAt1000Frames) {
    AdtsFrame frame;
    frame.length = 300;
    {
        // The walk ends at the end of the file: 3 frames summed, 3 counted.
        Analysed a(Frames(frame, 3));
        EXPECT_EQ(a.reader.BitRateTypeId, TAACfile::kVBR);
        EXPECT_EQ(a.reader.BitRate, RoundTiesEven(900.0 * 8 / 1024 / 3 * 44100));
    }
    {
        // An ID3v1 tag behind the frames is one more attempt.
        Analysed a(Concat({Frames(frame, 3), ID3v1ArtistTitle("A", "T")}));
        EXPECT_EQ(a.reader.BitRate, RoundTiesEven(900.0 * 8 / 1024 / 4 * 44100));
        EXPECT_EQ(a.sound.bitratetype, "VBR");
    }
    {
        frame.length = 10;
        Analysed a(Frames(frame, 2000));
        EXPECT_EQ(a.reader.BitRate, RoundTiesEven(10000.0 * 8 / 1024 / 1000 * 44100));
    }
    {
        // Frame length 0: the walk stays in place, but still ends after 1000 headers.
        frame.length = 0;
        Analysed a(Concat({Frames(frame, 1), Bytes(200, 0)}));
        EXPECT_TRUE(a.read);
        EXPECT_EQ(a.reader.BitRate, 0);
        EXPECT_FALSE(a.open);
        EXPECT_EQ(a.sound.duration, "0");
    }
}

TEST(AACfile, LastFramesLaterFieldsWinAndBitsPastTheEndAreZero) {
    AdtsFrame first;
    first.length = 130;
    Bytes bytes = first.Build();
    // A second header of which only its first two bytes are in the file.
    bytes.push_back(0xFF);
    bytes.push_back(0xF1);
    Analysed a(bytes);
    ASSERT_TRUE(a.read);
    EXPECT_EQ(a.reader.MpegVersionId, 2);
    EXPECT_EQ(a.reader.ProfileId, 1);
    EXPECT_EQ(a.reader.SampleRate, 96000);
    EXPECT_EQ(a.reader.Channels, 0);
    EXPECT_EQ(a.reader.BitRateTypeId, TAACfile::kCBR);
    EXPECT_EQ(a.reader.BitRate, RoundTiesEven(130.0 * 8 / 1024 / 2 * 96000));
    EXPECT_FALSE(a.open);
}

TEST(AACfile, SampleRateIndexAbove11IsInvalid) {
    for (unsigned index : {12u, 15u}) {
        AdtsFrame frame;
        frame.rateIndex = index;
        frame.fullness = 0;
        Analysed a(Frames(frame, 2));
        EXPECT_TRUE(a.read);
        EXPECT_EQ(a.sound.samplrate, "0");
        EXPECT_FALSE(a.open);
    }
    AdtsFrame frame;
    frame.rateIndex = 11;
    frame.fullness = 0;
    EXPECT_EQ(Analysed(Frames(frame, 2)).sound.samplrate, "8000");
}

struct AdifHeader {
    bool copyright = false;
    bool variable = false;
    uint32_t bitRate = 96000;
    unsigned objectType = 1;
    unsigned rateIndex = 3;  // 48000
    unsigned front = 1, side = 2, back = 3, lfe = 1;

    Bytes Build() const {
        BitWriter w;
        w.Put('A', 8).Put('D', 8).Put('I', 8).Put('F', 8);
        w.Put(copyright, 1);
        if (copyright) w.Put(0x1FFFFFF, 25).Put(0x1FFFFFF, 25).Put(0x3FFFFF, 22);
        w.Put(0, 2).Put(variable, 1).Put(bitRate, 23).Put(0, 4);
        if (!variable) w.Put(0xFFFFF, 20);
        w.Put(0xF, 4).Put(objectType, 2).Put(rateIndex, 4);
        w.Put(front, 4).Put(side, 4).Put(back, 4).Put(lfe, 2).Put(0x3FFF, 14);
        Bytes out = w.bytes();
        out.resize(400, 0x5A);
        return out;
    }
};

TEST(AACfile, ADIFHeaderWithAndWithoutCopyrightId) {
    for (bool copyright : {false, true}) {
        for (bool variable : {false, true}) {
            SCOPED_TRACE(testing::Message() << "copyright " << copyright << " variable " << variable);
            AdifHeader h;
            h.copyright = copyright;
            h.variable = variable;
            Analysed a(h.Build());
            ASSERT_TRUE(a.open);
            EXPECT_EQ(a.sound.HeaderType, "ADIF");
            EXPECT_EQ(a.sound.MPEGVersion, "MPEG-4");
            EXPECT_EQ(a.sound.bitratetype, variable ? "VBR" : "CBR");
            EXPECT_EQ(a.sound.bitrate, "96000");
            EXPECT_EQ(a.sound.profile, "AAC LC");
            EXPECT_EQ(a.sound.samplrate, "48000");
            EXPECT_EQ(a.sound.cnanmod, "7");  // element counts added up
            EXPECT_EQ(a.sound.duration, RealText(400.0 * 8 / 96000));
        }
    }
    AdifHeader silent;
    silent.bitRate = 0;
    EXPECT_FALSE(Analysed(silent.Build()).open);
}

TEST(AACfile, TagsAroundTheStream) {
    AdtsFrame frame;
    frame.fullness = 0;
    const Bytes id3v2 = test::ID3v2Builder(3)
                            .Frame("TIT2", test::Latin1Text("Song2"))
                            .Frame("TPE1", test::Latin1Text("Band2"))
                            .Frame("TRCK", test::Latin1Text("4/9"))
                            .Build();
    {
        Analysed a(Concat({id3v2, Frames(frame, 2), ID3v1ArtistTitle("Band1", "Song1")}));
        ASSERT_TRUE(a.open);
        EXPECT_EQ(a.reader.FileLength, static_cast<int32_t>(id3v2.size() + 744 + 128));
        // The ID3v2 tag is left out of the play time, the ID3v1 tag is not.
        EXPECT_EQ(a.sound.duration, RealText((744.0 + 128) * 8 / 128166));
        EXPECT_EQ(a.tags.Title1, "Song1");
        EXPECT_EQ(a.tags.Title2, "Song2");
        EXPECT_EQ(a.tags.Tracktext2, "4/9");
        EXPECT_EQ(a.tags.Track, "4");
        EXPECT_EQ(a.ArtistTitle(), "Band2 - Song2");
    }
    {
        Analysed a(Concat({Frames(frame, 2), ID3v1ArtistTitle("Band1", "Song1")}));
        EXPECT_EQ(a.ArtistTitle(), "Band1 - Song1.");
        EXPECT_EQ(a.tags.Track, "0");
    }
    EXPECT_EQ(Analysed(Frames(frame, 2)).ArtistTitle(), "");
}

TEST(AACfile, UnreadableOrForeignFiles) {
    AdtsFrame frame;
    frame.fullness = 0;
    frame.length = 50;
    {
        Analysed a(Frames(frame, 2));  // shorter than an ID3v1 tag
        EXPECT_FALSE(a.read);
        EXPECT_FALSE(a.open);
    }
    {
        // An MP4 file without a movie.
        Bytes mp4;
        test::AppendBE32(mp4, 32);
        test::Append(mp4, "ftypM4A ");
        mp4.resize(400, 0);
        Analysed a(mp4);
        EXPECT_TRUE(a.read);
        EXPECT_FALSE(a.open);
        EXPECT_EQ(a.sound.HeaderType, "MP4");
    }
    MemoryFiles none;
    TAACfile aac(none);
    EXPECT_FALSE(aac.ReadInfo("missing.aac"));
    EXPECT_FALSE(aac.Open("missing.aac"));
}

TEST(AACfile, EncoderFixtures) {
    // ADTS frames of ffmpeg's encoder between ID3 tags written by mutagen.
    TAACfile aac;
    const std::string adts = test::DataPath("adts.aac");
    ASSERT_TRUE(aac.Open(adts));
    ASSERT_TRUE(aac.ReadInfo(adts));
    Tinfosound sound;
    aac.FillSoundInfo(sound);
    EXPECT_EQ(sound.HeaderType, "ADTS");
    EXPECT_EQ(sound.MPEGVersion, "MPEG-4");
    EXPECT_EQ(sound.profile, "AAC LC");
    EXPECT_EQ(sound.samplrate, "44100");
    EXPECT_EQ(sound.cnanmod, "2");
    EXPECT_EQ(sound.bitratetype, "VBR");
    EXPECT_EQ(sound.filelen, "4510");
    // 4298 bytes of 23 frames (as ffprobe counts them) behind an 84-byte ID3v2
    // tag; the walk also counts its attempt at the ID3v1 tag.
    const int64_t bitRate = RoundTiesEven(4298.0 * 8 / 1024 / 24 * 44100);
    EXPECT_EQ(sound.bitrate, IntText(bitRate));
    EXPECT_EQ(sound.duration, RealText((4510.0 - 84) * 8 / bitRate));
    Tinfotag tags;
    aac.FillTagInfo(tags);
    EXPECT_EQ(tags.Title1, "AAC Title");
    EXPECT_EQ(tags.Title2, "AAC Title");
    EXPECT_EQ(tags.Artist2, "AAC Artist");
    EXPECT_EQ(tags.Tracktext2, "2/5");
    EXPECT_EQ(aac.ArtistTitle(adts), "AAC Artist - AAC Title");

    // AAC in an MP4 container, the movie behind the media data, tags by
    // ffmpeg; ALAC with the movie first, tags by mutagen.
    ASSERT_TRUE(SelectCodePage(1252));
    struct Case {
        const char* file;
        Tinfosound sound;
        const char* title;
        const char* trackText;
    };
    const auto mp4Sound = [](const char* channels, const char* rate, const char* bitRate, const char* duration,
                          const char* rateType, const char* rateTypeId, const char* profile, const char* profileId,
                          const char* length) {
        Tinfosound s;
        s.cnanmod = channels;
        s.samplrate = rate;
        s.bitrate = bitRate;
        s.duration = duration;
        s.bitratetype = rateType;
        s.bitratetypeid = rateTypeId;
        s.profile = profile;
        s.ProfileID = profileId;
        s.filelen = length;
        s.HeaderType = "MP4";
        s.HeaderTypeID = "3";
        s.MPEGVersion = "MPEG-4";
        s.MPEGVersionID = "2";
        return s;
    };
    const Case cases[] = {
        // 46144 samples of 44100 per second in the media header (mutagen: 1.0464399092970522 s).
        {"container.m4a", mp4Sound("1", "22050", "25205", "1.04643990929705", "CBR", "1", "AAC LC", "2", "4496"),
         "MP4 Title", "4/11"},
        {"alac.m4a", mp4Sound("1", "8000", "128000", "0.5", "VBR", "2", "Unknown", "0", "5249"), "ALAC Caf\xE9", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TAACfile mp4;
        const std::string path = test::DataPath(c.file);
        ASSERT_TRUE(mp4.Open(path));
        Tinfosound s;
        mp4.FillSoundInfo(s);
        EXPECT_EQ(s, c.sound);
        Tinfotag t;
        mp4.FillTagInfo(t);
        EXPECT_EQ(t.Title2, c.title);
        EXPECT_EQ(t.Tracktext2, c.trackText);
        EXPECT_EQ(t.Encoder2, "Lavf59.27.100");
        EXPECT_EQ(t.Title1, "");
    }
}

using test::Mp4Box;
using test::Mp4Esds;
using test::Mp4File;
using test::Mp4Shape;

// Sound fields of MP4 files built box by box, each row changing one thing.
TEST(AACfile, MP4SoundFieldsComeFromTheMovie) {
    struct Row {
        const char* what;
        void (*change)(Mp4Shape&);
        const char* channels;
        const char* rate;
        const char* bitRate;
        const char* rateType;
        const char* profile;
        double duration;
    };
    const Row rows[] = {
        {"AAC LC, declared average", [](Mp4Shape&) {}, "2", "44100", "96000", "CBR", "AAC LC", 10},
        {"movie behind the media data", [](Mp4Shape& s) { s.movieFirst = false; }, "2", "44100", "96000", "CBR",
         "AAC LC", 10},
        {"no declared average: media bytes over the duration",
         [](Mp4Shape& s) { s.entryChildren = Mp4Esds(0x40, 128000, 0, {0x12, 0x10}); }, "2", "44100", "4000",
         "Unknown", "AAC LC", 10},
        {"maximum above the average",
         [](Mp4Shape& s) { s.entryChildren = Mp4Esds(0x40, 128000, 96000, {0x12, 0x10}); }, "2", "44100", "96000",
         "VBR", "AAC LC", 10},
        {"64-bit headers",
         [](Mp4Shape& s) {
             s.headerVersion = 1;
             s.mediaDuration = uint64_t{1} << 33;
         },
         "2", "44100", "96000", "CBR", "AAC LC", double(uint64_t{1} << 33) / 44100},
        {"media duration unknown: the movie's", [](Mp4Shape& s) { s.mediaDuration = 0xFFFFFFFF; }, "2", "44100",
         "96000", "CBR", "AAC LC", 10},
        {"explicit rate, channels from the sample entry",
         [](Mp4Shape& s) {
             // Main, index 15 and the 24-bit rate 7350, layout 0.
             s.entryChildren = Mp4Esds(0x40, 0, 64000, {0x0F, 0x80, 0x0E, 0x5B, 0x00});
             s.entryChannels = 3;
         },
         "3", "7350", "64000", "Unknown", "AAC Main", 10},
        {"explicit SBR: the extension's rate",
         [](Mp4Shape& s) { s.entryChildren = Mp4Esds(0x40, 0, 48000, {0x2B, 0x11, 0x88}); }, "2", "48000",
         "48000", "Unknown", "Unknown", 10},
        {"backward-compatible SBR: the extension's rate, not the sample entry's",
         [](Mp4Shape& s) {
             // LC, 22050 Hz, stereo, then the sync extension with SBR present at 44100 Hz.
             s.entryChildren = Mp4Esds(0x40, 0, 48000, {0x13, 0x90, 0x56, 0xE5, 0xA0});
             s.entryRate = 22050;
         },
         "2", "44100", "48000", "Unknown", "AAC LC", 10},
        {"an extension that says no SBR keeps the core rate",
         [](Mp4Shape& s) { s.entryChildren = Mp4Esds(0x40, 0, 48000, {0x13, 0x90, 0x56, 0xE5, 0x00}); }, "2",
         "22050", "48000", "Unknown", "AAC LC", 10},
        {"SBR left unsaid: the sample entry's doubled rate",
         [](Mp4Shape& s) { s.entryChildren = Mp4Esds(0x40, 0, 48000, {0x13, 0x90}); }, "2", "44100", "48000",
         "Unknown", "AAC LC", 10},
        {"MPEG-2 AAC: the object type names the profile",
         [](Mp4Shape& s) { s.entryChildren = Mp4Esds(0x68, 0, 64000, {0x0A, 0x08}); }, "1", "44100", "64000",
         "Unknown", "AAC SSR", 10},
        {"older entry with its configuration wrapped",
         [](Mp4Shape& s) {
             s.entryVersion = 1;
             s.entryChildren = Mp4Box("wave", Mp4Esds(0x40, 96000, 96000, {0x12, 0x10}));
         },
         "2", "44100", "96000", "CBR", "AAC LC", 10},
        {"ALAC: its own configuration",
         [](Mp4Shape& s) {
             Bytes cookie(4, 0);
             test::AppendBE32(cookie, 4096);
             cookie.insert(cookie.end(), {0, 24, 40, 10, 14, 1});  // version, depth, tuning, 1 channel
             test::AppendBE16(cookie, 255);
             test::AppendBE32(cookie, 0);
             test::AppendBE32(cookie, 700000);
             test::AppendBE32(cookie, 96000);
             s.format = "alac";
             s.entryRate = 0;
             s.entryChildren = Mp4Box("alac", cookie);
         },
         "1", "96000", "700000", "VBR", "Unknown", 10},
        {"other audio: the sample entry",
         [](Mp4Shape& s) {
             s.format = "ac-3";
             s.entryChannels = 6;
             s.entryRate = 48000;
             s.entryChildren = {};
         },
         "6", "48000", "4000", "Unknown", "Unknown", 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Mp4Shape shape;
        row.change(shape);
        const Bytes bytes = Mp4File(shape);
        Analysed a(bytes, "file.m4a");
        ASSERT_TRUE(a.open);
        EXPECT_EQ(a.reader.TypeName, "aac");
        EXPECT_EQ(a.sound.HeaderType, "MP4");
        EXPECT_EQ(a.sound.HeaderTypeID, "3");
        EXPECT_EQ(a.sound.MPEGVersion, "MPEG-4");
        EXPECT_EQ(a.sound.cnanmod, row.channels);
        EXPECT_EQ(a.sound.samplrate, row.rate);
        EXPECT_EQ(a.sound.bitrate, row.bitRate);
        EXPECT_EQ(a.sound.bitratetype, row.rateType);
        EXPECT_EQ(a.sound.profile, row.profile);
        EXPECT_EQ(a.sound.duration, RealText(row.duration));
        EXPECT_EQ(a.sound.filelen, IntText(static_cast<int64_t>(bytes.size())));
    }
}

// Sizes that lie: the walk keeps inside the file and its parents, and a file
// of many small boxes is given up before its movie.
TEST(AACfile, MP4BoxSizesAreDistrusted) {
    Mp4Shape undeclared;
    undeclared.entryChildren = Mp4Esds(0x40, 0, 0, {0x12, 0x10});  // bit rate from the media data
    const Bytes moov = test::Mp4Moov(undeclared);
    const Bytes media(5000, 0x5A);
    Bytes manyBoxes;
    for (int i = 0; i < 2000; ++i) manyBoxes = Concat({manyBoxes, Mp4Box("free", {})});
    // The movie claims 100 bytes more than the file holds.
    Bytes truncatedMoov = Concat({test::Mp4Ftyp(), Mp4Box("mdat", media)});
    test::AppendBE32(truncatedMoov, static_cast<uint32_t>(moov.size() + 100));
    truncatedMoov.insert(truncatedMoov.end(), moov.begin() + 4, moov.end());
    Bytes shortFtyp = Concat({test::Mp4Ftyp(), moov, Mp4Box("mdat", media)});
    shortFtyp[3] = 8;  // no room for a brand

    struct Row {
        const char* what;
        Bytes bytes;
        bool valid;
        const char* bitRate;
    };
    const Row rows[] = {
        {"size 0 runs to the end", Concat({test::Mp4Ftyp(), moov, Mp4Box("mdat", media, 0)}), true, "4000"},
        {"64-bit size", Concat({test::Mp4Ftyp(), moov, test::Mp4LargeBox("mdat", media)}), true, "4000"},
        {"size past the end is cut there", Concat({test::Mp4Ftyp(), moov, Mp4Box("mdat", media, 1000000)}), true,
         "4000"},
        {"64-bit size past the end", Concat({test::Mp4Ftyp(), moov, test::Mp4LargeBox("mdat", media, ~uint64_t{0})}),
         true, "4000"},
        {"movie cut by the end of the file", truncatedMoov, true, "4000"},
        {"size below its header ends the walk", Concat({test::Mp4Ftyp(), Mp4Box("free", {}, 4), moov}), false, "0"},
        {"64-bit size below its header", Concat({test::Mp4Ftyp(), test::Mp4LargeBox("free", {}, 15), moov}), false,
         "0"},
        {"huge box hides what follows", Concat({test::Mp4Ftyp(), test::Mp4LargeBox("free", {}, ~uint64_t{0}), moov}),
         false, "0"},
        {"more boxes than a file is read for", Concat({test::Mp4Ftyp(), manyBoxes, moov, Mp4Box("mdat", media)}), false,
         "0"},
        {"header cut by the end of the file", Concat({test::Mp4Ftyp(), moov, Bytes{0, 0, 0, 0, 'm', 'd'}}), false,
         "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Analysed a(row.bytes, "file.mp4");
        EXPECT_TRUE(a.read);
        EXPECT_EQ(a.open, row.valid);
        EXPECT_EQ(a.sound.HeaderType, "MP4");
        EXPECT_EQ(a.sound.bitrate, row.bitRate);
    }
    // An "ftyp" box without a brand, or larger than the file, is no MP4 file.
    EXPECT_EQ(Analysed(shortFtyp).sound.HeaderType, "Unknown");
    Bytes longFtyp = Mp4File({});
    longFtyp[2] = 0x7F;
    EXPECT_EQ(Analysed(longFtyp).sound.HeaderType, "Unknown");
    // A movie without an audio track is not a valid stream.
    Mp4Shape video;
    video.handler = "vide";
    EXPECT_FALSE(Analysed(Mp4File(video)).open);
}

TEST(AACfile, MP4ItemListFillsTheSecondTagFields) {
    ASSERT_TRUE(SelectCodePage(1252));
    const auto item = test::Mp4TextItem;
    Mp4Shape shape;
    shape.items = {
        item("\xA9" "nam", "Caf\xC3\xA9 \xCE\xA9"), item("\xA9" "ART", "Band"), item("\xA9" "alb", "Album"),
        item("\xA9" "day", "2021-03-04T00:00:00Z"), item("\xA9" "gen", "Rock"), item("\xA9" "cmt", "Nice"),
        item("\xA9" "wrt", "Writer"), item("\xA9" "too", "Encoder"), item("cprt", "(c) Us"),
        test::Mp4Item("trkn", 0, {0, 0, 0, 3, 0, 12, 0, 0}), test::Mp4Item("gnre", 0, {0, 9}),
        test::Mp4Item("\xA9" "lyr", 1, {'l', 'a'}), test::Mp4Item("desc", 1, {'d'}),
    };
    Analysed a(Concat({Mp4File(shape), ID3v1ArtistTitle("Band1", "Song1")}), "file.m4a");
    ASSERT_TRUE(a.open);
    Tinfotag expected;
    expected.Title1 = "Song1";
    expected.Artist1 = "Band1";
    expected.Title2 = std::string("Caf\xE9 ") + test::kOmegaIn1252;
    expected.Artist2 = "Band";
    expected.Album2 = "Album";
    expected.Year2 = "2021";
    expected.Genre2 = "Rock";  // the text wins over the number
    expected.Comment2 = "Nice";
    expected.Composer2 = "Writer";
    expected.Encoder2 = "Encoder";
    expected.Copyright2 = "(c) Us";
    expected.Track = "3";
    expected.Tracktext2 = "3/12";
    EXPECT_EQ(a.tags, expected);
    EXPECT_EQ(a.ArtistTitle(), "Band - " + expected.Title2);

    // A genre number, a track without total, a text item of another value
    // type, and a "meta" box without version and flags.
    shape.items = {test::Mp4Item("gnre", 0, {0, 9}), test::Mp4Item("trkn", 0, {0, 0, 0, 5}),
                   test::Mp4Item("\xA9" "nam", 0, {'x'})};
    shape.plainMeta = true;
    Analysed numbers(Mp4File(shape), "file.m4a");
    EXPECT_EQ(numbers.tags.Genre2, "Jazz");
    EXPECT_EQ(numbers.tags.Tracktext2, "5");
    EXPECT_EQ(numbers.tags.Track, "5");
    EXPECT_EQ(numbers.tags.Title2, "");
    EXPECT_EQ(numbers.ArtistTitle(), " - ");

    // Without an item list the ID3v1 tag alone speaks; no track, no Track.
    shape.items.clear();
    Analysed plain(Concat({Mp4File(shape), ID3v1ArtistTitle("Band1", "Song1")}), "file.m4a");
    EXPECT_EQ(plain.tags.Title2, "");
    EXPECT_EQ(plain.tags.Track, "0");
    EXPECT_EQ(plain.ArtistTitle(), "Band1 - Song1.");
    EXPECT_EQ(Analysed(Mp4File(shape)).tags, Tinfotag{});
}

}  // namespace
}  // namespace qel
