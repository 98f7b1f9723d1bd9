// Whole files played through the real test modules: the input module decodes
// on its own thread into the output module, the player polls until the end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "player/PlayerKorvel.h"
#include "support/FakeMessageBoxes.h"
#include "support/MemoryIniFiles.h"
#include "support/ModuleFixtures.h"

namespace qel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PlaybackTest : public ::testing::Test {
protected:
    PlaybackTest() : slots(libraries), output("played.wav") {
        folder.Add("in_wave", "in_wave.dll").Add("out_wave", "out_wave.dll");
        test::SetEnv("QELTEST_OUT_WAV", output.path());
        player = std::make_unique<TPlayerKorvel>(PlayerPorts{slots, ini, boxes, SystemFiles(), times, "t/"});
        player->dllpath = folder.path();
        player->On_endplay = [this](TPlayerKorvel&) { ++ends; };
        player->On_error = [this](TPlayerKorvel&) { ++errors; };
        player->On_timer = [this](TPlayerKorvel&) { ++timers; };
    }
    ~PlaybackTest() override {
        player->StopPlay();
        test::SetEnv("QELTEST_OUT_WAV", "");
    }

    // Ticks like the window's timer (faster) until the end of play; false on timeout.
    bool TickUntilEnd() {
        for (int i = 0; i < 400 && ends == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            player->Tick();
        }
        return ends > 0;
    }

    // Another module folder; it outlives the modules loaded from it (a loaded
    // library cannot be deleted on Windows).
    test::ModuleFolder& OtherFolder() { return *others.emplace_back(std::make_unique<test::ModuleFolder>()); }

    test::ModuleLog log;
    test::ModuleFolder folder;
    std::vector<std::unique_ptr<test::ModuleFolder>> others;
    test::CountingLibraries libraries;
    ModuleSlots slots;
    MemoryIniFiles ini;
    FakeMessageBoxes boxes;
    PlayTimes times;
    test::ScratchFile output;
    std::unique_ptr<TPlayerKorvel> player;
    int ends = 0, errors = 0, timers = 0;
};

TEST_F(PlaybackTest, WavPlaysToItsEndAndTheOutputHoldsItsSamples) {
    const test::Bytes wav = test::PcmWav(8000, 2, test::TestTone(400));
    test::ScratchFile input("tone.voc", wav);

    ASSERT_TRUE(player->OpenAndPlay(input.path())) << player->ErrorText;
    EXPECT_EQ(player->TotalMinutes(), 0);
    EXPECT_EQ(player->TotalSeconds(), 0);
    EXPECT_EQ(player->TimesText().substr(player->TimesText().find("--")), "--400");
    ASSERT_TRUE(TickUntilEnd());
    EXPECT_GT(timers, 0) << "the timer fires while the file plays";
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(player->PositionPercent(), 100);
    player->StopPlay();

    // The output file is the input file: same header fields, same samples.
    EXPECT_EQ(test::ReadFileBytes(output.path()), wav);
    // The module's own end note may come before or after the player saw the end.
    std::vector<std::string> calls = log.Lines();
    std::erase(calls, "in_wave.dll end");
    EXPECT_THAT(calls, ElementsAre("in_wave.dll Init", "out_wave.dll Init", "out_wave.dll SetVolume 125",
                                   "out_wave.dll Open 8000 2 16", "in_wave.dll Play " + input.path() + " 0",
                                   "in_wave.dll Stop", "out_wave.dll Close"));
}

TEST_F(PlaybackTest, PauseHoldsThePositionAndVolumeReachesTheOutput) {
    test::ScratchFile input("long.voc", test::PcmWav(8000, 2, test::TestTone(3000)));
    ASSERT_TRUE(player->OpenAndPlay(input.path()));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    player->TogglePause();
    std::string times1 = player->TimesText();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(player->TimesText(), times1);
    player->TogglePause();
    player->SetVolumeLevel(20);
    player->SetBalance(9);
    player->SeekPercent(90);
    ASSERT_TRUE(TickUntilEnd());
    player->StopPlay();
    EXPECT_THAT(log.Of("out_wave.dll"), Contains("SetVolume 50"));
    EXPECT_THAT(log.Of("out_wave.dll"), Contains("SetPan 9"));
    EXPECT_THAT(log.Of("out_wave.dll"), Contains("Flush 2700"));
    EXPECT_THAT(log.Of("in_wave.dll"), Contains("Pause"));
}

TEST_F(PlaybackTest, EachFileLoadsTheModulesAfresh) {
    test::ScratchFile a("a.voc", test::PcmWav(8000, 2, test::TestTone(50)));
    test::ScratchFile b("b.voc", test::PcmWav(8000, 2, test::TestTone(50)));
    ASSERT_TRUE(player->OpenAndPlay(a.path()));
    ASSERT_TRUE(player->OpenAndPlay(b.path()));
    ASSERT_TRUE(player->OpenAndPlay(b.path()));  // the same file again: no reload
    EXPECT_THAT(log.Of("in_wave.dll"), Contains("Init").Times(2));
    EXPECT_THAT(log.Of("in_wave.dll"), Contains("Stop").Times(2));
    EXPECT_EQ(libraries.loaded.size(), 4u);
    EXPECT_EQ(libraries.live, 2);
    player->StopPlay();  // the module lets go of the file before it is deleted
}

TEST_F(PlaybackTest, AnMp3FileHoldingWavPlaysThroughTheWavModule) {
    std::vector<int16_t> quiet(800);
    for (size_t i = 0; i < quiet.size(); ++i) quiet[i] = static_cast<int16_t>(i % 100);
    test::ScratchFile input("wave.mp3", test::PcmWav(8000, 1, quiet));
    ASSERT_TRUE(player->OpenAndPlay(input.path())) << player->ErrorText;
    EXPECT_EQ(player->TagType, "wavtag");
    EXPECT_EQ(player->ModulePath, folder.path() + "in_wave.dll");
    player->StopPlay();
}

TEST_F(PlaybackTest, MpegContentFallsBackToTheOtherMp3ModuleKeepingItsMessage) {
    test::ModuleFolder& mp3Only = OtherFolder();
    mp3Only.Add("in_wave", "in_mp3.dll").Add("out_wave", "out_wave.dll");
    player->dllpath = mp3Only.path();
    // A PCM WAV file whose sample bytes are MPEG-1 layer III frames (128 kbit/s,
    // 44100 Hz, 417 bytes each): the MPEG analyser recognises it, and the
    // stand-in for in_mp3.dll still plays it as PCM.
    test::Bytes frames;
    for (int n = 0; n < 4; ++n) {
        test::AppendBE32(frames, 0xFFFB9064);
        test::AppendZeros(frames, 413);
    }
    test::ScratchFile input("frames.wav", test::PcmWavOfBytes(8000, 1, frames));

    ASSERT_TRUE(player->OpenAndPlay(input.path())) << player->ErrorText;
    EXPECT_EQ(player->TagType, "mp3tag");
    EXPECT_EQ(player->ModulePath, mp3Only.path() + "in_mp3.dll");
    EXPECT_EQ(player->ErrorText, " no find " + mp3Only.path() + "in_mp3PRO.dll ");
    EXPECT_EQ(errors, 0);
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_THAT(log.Of("in_mp3.dll"), ElementsAre("Init", "Play " + input.path() + " 0"));
    player->StopPlay();
}

TEST_F(PlaybackTest, AFileTheModuleRefuses) {
    test::ScratchFile input("noise.voc", test::Bytes(100, 0x55));
    EXPECT_FALSE(player->OpenAndPlay(input.path()));
    EXPECT_EQ(player->ErrorText, "error file playUnknown file format " + input.path() + " ");
    EXPECT_EQ(errors, 2);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(player->Started, 0);
}

TEST_F(PlaybackTest, MissingModulesAreNamedOnce) {
    EXPECT_FALSE(player->OpenAndPlay("song.ogg"));
    EXPECT_EQ(player->ErrorText, " no find " + folder.path() + "in_vorbis.dll Unknown file format song.ogg ");
    EXPECT_THAT(boxes.shown, ElementsAre(" no find " + folder.path() + "in_vorbis.dll ", player->ErrorText));

    test::ModuleFolder& inputOnly = OtherFolder();
    inputOnly.Add("in_wave", "in_wave.dll");
    player->dllpath = inputOnly.path();
    test::ScratchFile input("x.voc", test::PcmWav(8000, 1, {1, 2, 3}));
    EXPECT_FALSE(player->OpenAndPlay(input.path()));
    EXPECT_EQ(player->ErrorText, " no find out_wave.dll Unknown file format " + input.path() + " ");
}

TEST_F(PlaybackTest, BrokenInputModules) {
    test::ModuleFolder& broken = OtherFolder();
    broken.Add("in_nullrecord", "in_wave.dll").Add("in_playfails", "in_vorbis.dll").Add("out_wave", "out_wave.dll");
    player->dllpath = broken.path();
    test::ScratchFile input("x.voc", test::PcmWav(8000, 1, {1, 2, 3}));
    EXPECT_FALSE(player->OpenAndPlay(input.path()));
    EXPECT_EQ(player->ErrorText, "error init " + broken.path() + "in_wave.dll Unknown file format " + input.path() + " ");
    EXPECT_FALSE(player->OpenAndPlay("x.ogg"));
    EXPECT_EQ(player->ErrorText, "error file playUnknown file format x.ogg ");
    EXPECT_THAT(log.Of("in_vorbis.dll"), ElementsAre("Init", "Play x.ogg 1"));
}

}  // namespace
}  // namespace qel
