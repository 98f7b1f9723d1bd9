#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/RequestFiles.h"
#include "player/FileInfoDispatch.h"
#include "readers/TextForms.h"
#include "readers/WAVfile.h"
#include "support/AnalysedBytes.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::Bytes;

struct WavHeader {
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    uint32_t audioBytes = 0;
    uint32_t riffSize = 0;  // 0: 36 + audioBytes
};

Bytes WavFile(const WavHeader& h, size_t audioWritten = 16) {
    Bytes b;
    test::Append(b, "RIFF");
    test::AppendLE32(b, h.riffSize ? h.riffSize : 36 + h.audioBytes);
    test::Append(b, "WAVEfmt ");
    test::AppendLE32(b, 16);
    test::AppendLE16(b, 1);
    test::AppendLE16(b, h.channels);
    test::AppendLE32(b, h.rate);
    test::AppendLE32(b, h.rate * h.channels * (h.bits / 8));
    test::AppendLE16(b, h.channels * (h.bits / 8));
    test::AppendLE16(b, h.bits);
    test::Append(b, "data");
    test::AppendLE32(b, h.audioBytes);
    test::AppendZeros(b, audioWritten);
    return b;
}

Tinfosound SoundOf(const Bytes& file) {
    test::AnalysedBytes<TWAVfile> wav(file);
    EXPECT_TRUE(wav.open);
    EXPECT_EQ(wav.reader.TypeName, "wav");
    return wav.sound;
}

TEST(WAVfile, StreamProperties) {
    auto s = SoundOf(WavFile({2, 44100, 16, 176400}));
    EXPECT_EQ(s.samplrate, "44100");
    EXPECT_EQ(s.filelen, "176444");
    EXPECT_EQ(s.duration, "1");
    EXPECT_EQ(s.cnanmod, "Stereo");
    EXPECT_EQ(s.cnanmodid, "2");
    EXPECT_EQ(s.bitpersamp, "16");
    EXPECT_EQ(s.bitrate, "");

    s = SoundOf(WavFile({1, 8000, 8, 4000}));
    EXPECT_EQ(s.cnanmod, "Mono");
    EXPECT_EQ(s.cnanmodid, "1");
    EXPECT_EQ(s.bitpersamp, "8");
    EXPECT_EQ(s.duration, "0.5");

    // Rates above 65535 Hz keep all their bits, in the text and the play time.
    s = SoundOf(WavFile({2, 96000, 24, 576000}));
    EXPECT_EQ(s.samplrate, "96000");
    EXPECT_EQ(s.duration, "1");
    EXPECT_EQ(SoundOf(WavFile({2, 48000, 16, 0})).samplrate, "48000");
}

TEST(WAVfile, FieldCutsAndOddSizes) {
    // Bits per sample keeps its low byte (272 -> 16).
    EXPECT_EQ(SoundOf(WavFile({1, 8000, 272, 16000})).bitpersamp, "16");
    // The RIFF size is trusted over the file's real size.
    auto s = SoundOf(WavFile({1, 8000, 8, 0, 8036}));
    EXPECT_EQ(s.filelen, "8044");
    EXPECT_EQ(s.duration, "1");
    // A RIFF size below 36 has no audio; a huge one does not wrap around.
    EXPECT_EQ(SoundOf(WavFile({1, 8000, 8, 0, 10})).duration, "0");
    EXPECT_EQ(SoundOf(WavFile({2, 44100, 16, 0, 0xF0000000u - 8})).duration,
              RealText((0xF0000000 - 44) * 8.0 / 44100 / 16 / 2));
}

// Chunks behind the audio (a tag, a picture) leave it out of the play time;
// chunks before it count as they always did.
TEST(WAVfile, ChunksBehindTheDataChunk) {
    Bytes file = WavFile({1, 8000, 8, 8001, 36 + 8002 + 20}, 8002);  // odd size, padded
    test::Append(file, "LIST");
    test::AppendLE32(file, 12);
    test::AppendZeros(file, 12);
    EXPECT_EQ(SoundOf(file).duration, RealText(8001 / 8000.0));
    EXPECT_EQ(SoundOf(file).filelen, "8066");
    file[36] = 'x';  // not a "data" chunk: the RIFF size counts
    EXPECT_EQ(SoundOf(file).duration, RealText(8022 / 8000.0));
    // Bytes that are no chunk header behind the audio count as audio.
    EXPECT_EQ(SoundOf(WavFile({1, 8000, 8, 8000, 36 + 8010}, 8010)).duration, RealText(8010 / 8000.0));
}

TEST(WAVfile, HeadersThatAreNotRecognised) {
    MemoryFiles files;
    TWAVfile wav(files);
    // 43 bytes: not readable; missing: not readable either, and no exception.
    Bytes shortFile = WavFile({}, 0);
    shortFile.pop_back();
    files.Add("short.wav", shortFile);
    EXPECT_FALSE(wav.ReadInfo("short.wav"));
    EXPECT_FALSE(wav.Open("short.wav"));
    EXPECT_FALSE(wav.Open("missing.wav"));

    // Readable but invalid: 6 channels, 257 channels (no cut to 8 bits for the test), wrong magic.
    Bytes bad = WavFile({6, 44100, 16, 0});
    Bytes cut = WavFile({257, 44100, 16, 0});
    Bytes magic = WavFile({});
    magic[8] = 'X';
    for (const Bytes& file : {bad, cut, magic}) {
        files.Add("bad.wav", file);
        EXPECT_TRUE(wav.ReadInfo("bad.wav"));
        EXPECT_FALSE(wav.Valid);
        EXPECT_FALSE(wav.Open("bad.wav"));
        EXPECT_EQ(wav.TypeName, "");
    }
}

TEST(WAVfile, ZeroRateOrWidthIsAnErrorOfTheFill) {
    for (const WavHeader& h : {WavHeader{2, 44100, 0, 100}, WavHeader{2, 0, 16, 100}}) {
        MemoryFiles files;
        files.Add("zero.wav", WavFile(h));
        TWAVfile wav(files);
        ASSERT_TRUE(wav.Open("zero.wav"));
        Tinfosound sound;
        EXPECT_THROW(wav.FillSoundInfo(sound), std::domain_error);

        FileInfoDispatch dispatch(files);
        files.Add("zero.wma", WavFile(h));
        EXPECT_FALSE(dispatch.ReadFileInfo("zero.wma"));
        EXPECT_EQ(dispatch.TagType, "notag");
    }
}

TEST(WAVfile, DispatchedForWmaWithoutTagsAndWithAFixedTitle) {
    MemoryFiles files;
    files.Add("song.WMA", WavFile({1, 22050, 16, 44100}));
    FileInfoDispatch dispatch(files);
    ASSERT_TRUE(dispatch.ReadFileInfo("song.WMA"));
    EXPECT_EQ(dispatch.TagType, "wmatag");
    EXPECT_EQ(dispatch.Sound.duration, "1");
    EXPECT_EQ(dispatch.Tags, Tinfotag{});
    EXPECT_EQ(dispatch.FileTitle("song.WMA"), " - ");

    files.Add("noise.wma", Bytes(100, 0x30));
    EXPECT_FALSE(dispatch.ReadFileInfo("noise.wma"));
    EXPECT_EQ(dispatch.TagType, "notag");
    EXPECT_EQ(dispatch.FileTitle("noise.wma"), "");
}


TEST(WAVfile, FixtureMadeBySox) {
    TWAVfile wav;
    ASSERT_TRUE(wav.Open(test::DataPath("tone.wav")));
    Tinfosound sound;
    wav.FillSoundInfo(sound);
    EXPECT_EQ(sound.samplrate, "8000");
    EXPECT_EQ(sound.bitpersamp, "8");
    EXPECT_EQ(sound.cnanmod, "Mono");
    EXPECT_EQ(sound.filelen, "2044");
    EXPECT_EQ(sound.duration, "0.25");
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

// Through one request's files a repeated ReadInfo of the same file keeps the
// fields of the first read; anything else reads the file again.
TEST(WAVfile, RepeatedReadInfoOfOneRequestReadsOnce) {
    MemoryFiles memory;
    memory.Add("a.wav", WavFile({2, 44100, 16, 176400}));
    memory.Add("b.wav", WavFile({1, 8000, 8, 8000}));

    TWAVfile direct(memory);  // files that may change between reads
    ASSERT_TRUE(direct.ReadInfo("a.wav"));
    memory.Add("a.wav", WavFile({1, 22050, 16, 0}));
    ASSERT_TRUE(direct.ReadInfo("a.wav"));
    EXPECT_EQ(direct.SampleRate, 22050u);

    RequestFiles request(memory);
    TWAVfile wav(request);
    ASSERT_TRUE(wav.ReadInfo("a.wav"));
    wav.SampleRate = 1;  // a second parse would put 22050 back
    EXPECT_TRUE(wav.ReadInfo("a.wav"));
    EXPECT_TRUE(wav.Open("a.wav"));
    EXPECT_EQ(wav.SampleRate, 1u);
    ASSERT_TRUE(wav.ReadInfo("b.wav"));
    EXPECT_EQ(wav.SampleRate, 8000u);
    wav.ClearFields();
    ASSERT_TRUE(wav.ReadInfo("b.wav"));
    EXPECT_EQ(wav.SampleRate, 8000u);
    EXPECT_FALSE(wav.ReadInfo("missing.wav"));
    EXPECT_FALSE(wav.ReadInfo("missing.wav"));
    EXPECT_FALSE(wav.Valid);
}

}  // namespace
}  // namespace qel
