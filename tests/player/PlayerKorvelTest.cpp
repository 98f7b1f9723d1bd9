// The player's state machine, failure reports, time read-outs and end
// detection, against in-process modules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <sstream>

#include "player/PlayerKorvel.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeModules.h"
#include "support/MemoryIniFiles.h"

namespace qel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kFolder[] = "mods/";
const std::string kVorbis = std::string(kFolder) + "in_vorbis.dll";
const std::string kOutput = std::string(kFolder) + "out_wave.dll";

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest() { MakePlayer(); }

    void MakePlayer() {
        player = std::make_unique<TPlayerKorvel>(
            PlayerPorts{slots, ini, boxes, SystemFiles(), times, "settings/"});
        player->dllpath = kFolder;
        player->On_error = [this](TPlayerKorvel& sender) {
            EXPECT_EQ(&sender, player.get());
            events.push_back("error");
        };
        player->On_endplay = [this](TPlayerKorvel&) { events.push_back("endplay"); };
        player->On_timer = [this](TPlayerKorvel&) { events.push_back("timer"); };
    }

    void InstallBoth() {
        fake.AddInput(kVorbis);
        fake.AddOutput(kOutput);
    }

    // Plays a.ogg through working modules and forgets the calls so far.
    void Playing(int length = 200000, int position = 0) {
        InstallBoth();
        fake.length = length;
        fake.position = position;
        ASSERT_TRUE(player->OpenAndPlay("a.ogg"));
        fake.TakeCalls();
    }

    std::vector<std::string> TakeEvents() {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }

    test::FakeModules fake;
    ModuleSlots slots{fake.libraries};
    MemoryIniFiles ini;
    FakeMessageBoxes boxes;
    PlayTimes times;
    std::unique_ptr<TPlayerKorvel> player;
    std::vector<std::string> events;
};

TEST_F(PlayerTest, StartsIdleWithDefaultVolumeAndEqualizer) {
    EXPECT_EQ(player->Started, 0);
    EXPECT_EQ(player->PauseState, 0);
    EXPECT_EQ(player->Volume, 50);
    EXPECT_EQ(player->GetPreamp(), 31);
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(player->GetBand(n), 31);
    EXPECT_EQ(player->InputModule(), nullptr);
}

TEST_F(PlayerTest, OpenAndPlayLoadsInitialisesAndStarts) {
    InstallBoth();
    EXPECT_TRUE(player->OpenAndPlay("a.ogg"));
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Init", "out Init", "out SetVolume 125", "Play a.ogg"));
    EXPECT_EQ(player->Started, 1);
    EXPECT_EQ(player->PauseState, 0);
    EXPECT_EQ(player->CurrentFile, "a.ogg");
    EXPECT_EQ(player->ModulePath, kVorbis);
    EXPECT_EQ(player->ErrorText, "");
    EXPECT_EQ(player->TagType, "notag") << "a missing file has no information";
    EXPECT_THAT(events, IsEmpty());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(PlayerTest, PauseResumeAndStopFollowTheStateTable) {
    player->TogglePause();  // nothing loaded: nothing happens
    EXPECT_EQ(player->PauseState, 0);
    Playing();
    player->TogglePause();
    EXPECT_EQ(player->PauseState, 1);
    player->TogglePause();
    EXPECT_EQ(player->PauseState, 0);
    player->StopPlay();
    EXPECT_EQ(player->Started, 0);
    EXPECT_EQ(player->PauseState, 2);
    player->TogglePause();  // a stopped player is not resumed
    player->StopPlay();     // Stop reaches the module only once
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Pause", "UnPause", "Stop"));
    EXPECT_EQ(player->PauseState, 2);
}

TEST_F(PlayerTest, ReplayOfTheCurrentFileRestartsWithoutReloading) {
    Playing();
    player->TagType = "kept";
    EXPECT_TRUE(player->OpenAndPlay("a.ogg"));
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Stop", "Play a.ogg"));
    EXPECT_EQ(player->TagType, "kept") << "the file information is not read again";
    EXPECT_EQ(fake.libraries.loads.size(), 2u);

    // After a stop the same file starts again without a second Stop.
    player->StopPlay();
    fake.TakeCalls();
    EXPECT_TRUE(player->OpenAndPlay("a.ogg"));
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Play a.ogg"));
}

TEST_F(PlayerTest, AnotherFileStopsTheCurrentOneAndReloadsBothModules) {
    Playing();
    fake.AddInput(std::string(kFolder) + "in_flac.dll");
    EXPECT_TRUE(player->OpenAndPlay("b.flac"));
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Stop", "Quit", "Init", "out Quit", "out Init", "out SetVolume 125", "Play b.flac"));
    EXPECT_EQ(fake.libraries.live, 2);
    EXPECT_EQ(player->ModulePath, std::string(kFolder) + "in_flac.dll");
}

struct FailureRow {
    const char* name;
    const char* file;
    std::function<void(test::FakeModules&)> setup;
    std::vector<std::string> boxes;  // one per report, in order
};

TEST_F(PlayerTest, FailureTable) {
    const std::string unknownOgg = "Unknown file format a.ogg ";
    const std::vector<FailureRow> rows = {
        {"no module for the extension", "x.xyz", [](auto&) {}, {"Unknown file format x.xyz "}},
        {"mp3 content unknown", "x.mp3", [](auto&) {}, {"Unknown file format x.mp3 "}},
        {"wav content unknown", "C:\\music.d\\x.WAV", [](auto&) {}, {"Unknown file format C:\\music.d\\x.WAV "}},
        {"no extension", "dir.ogg/x", [](auto&) {}, {"Unknown file format dir.ogg/x "}},
        {"input module missing",
         "a.ogg",
         [](auto& f) { f.AddOutput(kOutput); },
         {" no find " + kVorbis + " ", " no find " + kVorbis + " " + unknownOgg}},
        {"input getter gives no record",
         "a.ogg",
         [](auto& f) {
             f.AddInput(kVorbis, true);
             f.AddOutput(kOutput);
         },
         {"error init " + kVorbis + " ", "error init " + kVorbis + " " + unknownOgg}},
        {"output module missing",
         "a.ogg",
         [](auto& f) { f.AddInput(kVorbis); },
         {" no find out_wave.dll ", " no find out_wave.dll " + unknownOgg}},
        {"Play returns non-zero",
         "a.ogg",
         [](auto& f) {
             f.AddInput(kVorbis);
             f.AddOutput(kOutput);
             f.playResult = -1;
         },
         {"error file play", "error file play" + unknownOgg}},
        {"failure raised inside Play",
         "a.ogg",
         [](auto& f) {
             f.AddInput(kVorbis);
             f.AddOutput(kOutput);
             f.playThrows = true;
         },
         {"", unknownOgg}},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        test::FakeModules fresh;
        ModuleSlots freshSlots(fresh.libraries);
        FakeMessageBoxes freshBoxes;
        TPlayerKorvel p(PlayerPorts{freshSlots, ini, freshBoxes, SystemFiles(), times, "settings/"});
        p.dllpath = kFolder;
        int errors = 0;
        p.On_error = [&](TPlayerKorvel&) { ++errors; };
        row.setup(fresh);

        EXPECT_FALSE(p.OpenAndPlay(row.file));
        EXPECT_EQ(freshBoxes.shown, row.boxes);
        EXPECT_EQ(errors, static_cast<int>(row.boxes.size()));
        EXPECT_EQ(p.ErrorText, row.boxes.back());
        EXPECT_EQ(p.CurrentFile, "");
        EXPECT_EQ(p.Started, 0);
    }
}

TEST_F(PlayerTest, FailedReplayReportsOnceAndKeepsThePauseState) {
    Playing();
    fake.playResult = 3;
    EXPECT_FALSE(player->OpenAndPlay("a.ogg"));
    EXPECT_THAT(boxes.shown, ElementsAre("error file play"));
    EXPECT_THAT(TakeEvents(), ElementsAre("error"));
    EXPECT_EQ(player->Started, 0);
    EXPECT_EQ(player->PauseState, 0);
    EXPECT_EQ(player->CurrentFile, "");
}

TEST_F(PlayerTest, MessageBoxOnlyWhenErrorsAreShown) {
    player->vieverror = false;
    EXPECT_FALSE(player->OpenAndPlay("x.xyz"));
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_THAT(TakeEvents(), ElementsAre("error"));
    EXPECT_EQ(player->ErrorText, "Unknown file format x.xyz ");
}

TEST_F(PlayerTest, ErrorTextStartsAfreshWithEachOpen) {
    EXPECT_FALSE(player->OpenAndPlay("x.xyz"));
    EXPECT_FALSE(player->OpenAndPlay("y.xyz"));
    EXPECT_EQ(player->ErrorText, "Unknown file format y.xyz ");
}

TEST_F(PlayerTest, ModuleChoiceByExtensionAndContent) {
    struct Case {
        const char* file;
        const char* tagType;
        const char* module;
    };
    const Case cases[] = {
        {"t.cda", "", "in_cdda.dll"},          {"a.MMD", "", "in_fid.dll"},
        {"a.flc", "", "in_flac.dll"},          {"a.lqt", "", "in_Liquid.dll"},
        {"a.mac", "", "in_MAC.dll"},           {"a.kar", "", "in_midi.dll"},
        {"a.mjf", "", "in_mjf.dll"},           {"a.669", "", "in_mod.dll"},
        {"a.ptm", "", "in_mod.dll"},           {"a.m4a", "", "in_mp4.dll"},
        {"a.nsa", "", "in_nsv.dll"},           {"a.ogg", "", "in_vorbis.dll"},
        {"a.vqf", "", "in_vqf.dll"},           {"a.wma", "wmatag", "in_wm.dll"},
        {"a.voc", "", "in_wave.dll"},          {"a.mp3", "wavtag", "in_wave.dll"},
        {"a.wav", "mp3tag", "in_mp3PRO.dll"},  {"a.wav", "wavtag", "in_wave.dll"},
        {"a.mp3", "notag", ""},                {"a.mp2", "mp3tag", ""},
        {"a.mpc", "", ""},                     {"a.ape", "apetag", ""},
        {"x.ogg\\noext", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        player->TagType = c.tagType;
        bool chosen = player->ChooseModule(c.file);
        EXPECT_EQ(chosen, *c.module != '\0');
        EXPECT_EQ(player->ModulePath, chosen ? std::string(kFolder) + c.module : "");
    }
}

TEST_F(PlayerTest, TimeReadOuts) {
    Playing(185000, 61999);
    EXPECT_EQ(player->TotalTimeText(), "03:05");
    EXPECT_EQ(player->PlayedTimeText(), "01:01");
    EXPECT_EQ(player->TimesText(), "61999--185000");
    fake.length = 6000000;
    fake.position = 9000;
    EXPECT_EQ(player->TotalTimeText(), "100:00");
    EXPECT_EQ(player->PlayedTimeText(), "00:09");
    fake.length = -1000;
    EXPECT_EQ(player->TotalTimeText(), "00:0-1");
}

TEST_F(PlayerTest, TimeReadOutsWhileStoppedAnswerFromTheCache) {
    EXPECT_EQ(player->TotalTimeText(), "00:00");
    EXPECT_EQ(player->PlayedMinutes(), 0);
    Playing(185000, 125000);
    EXPECT_EQ(player->PlayedMinutes(), 2);
    player->StopPlay();
    fake.length = 300000;
    fake.position = 1000;
    EXPECT_EQ(player->TotalTimeText(), "00:00");
    EXPECT_EQ(player->PlayedTimeText(), "00:00");
    EXPECT_EQ(player->TotalMinutes(), 5) << "the length is still read while a file is current";
    EXPECT_EQ(player->PlayedMinutes(), 2) << "the position is not read while stopped";
    EXPECT_EQ(player->PlayedSeconds(), 5);

    // The cache belongs to the library, not to one player.
    MakePlayer();
    EXPECT_EQ(player->PlayedMinutes(), 2);
    EXPECT_EQ(player->TotalSeconds(), 0);
}

TEST_F(PlayerTest, PositionPercentAndSeek) {
    EXPECT_EQ(player->PositionPercent(), 0);
    Playing(20000, 5000);
    EXPECT_EQ(player->PositionPercent(), 25);
    fake.length = 99;  // shorter than 100 ms: no percentage
    EXPECT_EQ(player->PositionPercent(), 0);
    fake.length = -150;
    fake.position = INT32_MIN;
    EXPECT_EQ(player->PositionPercent(), INT32_MIN) << "no overflow trap";
    fake.length = 20050;
    player->SeekPercent(50);
    player->SeekPercent(150);  // not range-tested
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("SetOutputTime 10000", "SetOutputTime 30000"));
    player->StopPlay();
    EXPECT_EQ(player->PositionPercent(), 0);
}

TEST_F(PlayerTest, DialogsGoToTheLoadedModule) {
    int window = 0;
    player->ShowAbout(&window);  // nothing loaded: nothing happens
    player->ShowFileInfo(&window);
    Playing();
    player->ShowAbout(&window);
    player->ShowConfig(&window);
    player->ShowFileInfo(&window);
    player->ShowInfoBoxFor("other.mid", &window);
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("About window", "Config window", "InfoBox a.ogg", "InfoBox other.mid"));
    EXPECT_FALSE(player->OpenAndPlay("x.xyz"));  // clears the current file
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Stop"));
    player->ShowFileInfo(&window);
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());
}

TEST_F(PlayerTest, TickEndsWhenThePositionReachesTheLength) {
    Playing(1000, 300);
    player->Tick();
    fake.position = 999;
    player->Tick();
    fake.position = 1000;
    player->Tick();
    player->Tick();  // fires on every tick while the condition holds
    EXPECT_THAT(TakeEvents(), ElementsAre("timer", "timer", "endplay", "endplay"));
    player->TogglePause();
    player->Tick();  // paused at the end: no end of play
    player->TogglePause();
    player->StopPlay();
    player->Tick();
    EXPECT_THAT(TakeEvents(), ElementsAre("timer", "timer"));
}

TEST_F(PlayerTest, TickEndsAfterTwentyOneStalledTicks) {
    Playing(100000, 0);
    for (int i = 0; i < 20; ++i) player->Tick();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>(20, "timer"));
    player->Tick();
    EXPECT_THAT(TakeEvents(), ElementsAre("endplay"));

    // An advancing position starts the count again; a position that goes back
    // to 0 (or below) does not advance.
    fake.position = 500;
    player->Tick();
    fake.position = 0;
    for (int i = 0; i < 20; ++i) player->Tick();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>(21, "timer"));
    player->Tick();
    EXPECT_THAT(TakeEvents(), ElementsAre("endplay"));
}

TEST_F(PlayerTest, StalledTicksSurviveIntoTheNextFile) {
    Playing(100000, 7000);
    player->Tick();
    for (int i = 0; i < 21; ++i) player->Tick();
    EXPECT_EQ(TakeEvents().back(), "endplay");
    fake.AddInput(std::string(kFolder) + "in_flac.dll");
    ASSERT_TRUE(player->OpenAndPlay("b.flac"));
    player->Tick();  // still at 7000: not an advance
    fake.position = 7300;
    player->Tick();
    EXPECT_THAT(TakeEvents(), ElementsAre("endplay", "timer"));
}

// The application window's queue, as the player sees it: the marks of its
// play changes and the modules' end-of-file messages, handled in order.
struct WindowQueue {
    static constexpr uint32_t kEndMessage = 0;  // marks start at 1
    std::deque<uint32_t> items;
    void Deliver(TPlayerKorvel& player) {
        for (; !items.empty(); items.pop_front()) {
            if (items.front() == kEndMessage)
                player.EndOfFileMessage();
            else
                player.PlayMarkReached(items.front());
        }
    }
};
WindowQueue* g_queue = nullptr;
int QEL_CDECL PlayPostingTheEnd(char*) {
    g_queue->items.push_back(WindowQueue::kEndMessage);  // an empty file drains at once
    return 0;
}

struct EndMessageRow {
    const char* steps;  // what happens after a.ogg started, in order
    int ends;           // end-of-play events
};

TEST_F(PlayerTest, EndMessageEndsOnlyThePlayItWasPostedForAndOnlyOnce) {
    const EndMessageRow rows[] = {
        {"deliver post deliver", 1},
        {"post deliver", 1},                         // the start's mark is ahead of it
        {"deliver post post deliver", 1},            // posted twice
        {"deliver post deliver post deliver", 1},    // once more after the end
        {"deliver post seek deliver", 0},            // posted before a seek
        {"deliver post replay deliver", 0},          // before the same file started again
        {"deliver post other deliver", 0},           // before the next file
        {"deliver post stop replay deliver", 0},     // before a stop
        {"deliver post stop deliver", 0},            // stopped
        {"deliver pause post deliver", 0},           // paused
        {"deliver pause post deliver pause", 0},     // and resumed: the timer's rules go on
        {"deliver timerend post deliver", 1},        // the timer's rule ended it first
        {"deliver other deliver post deliver", 1},   // the next file's own message
        {"postduringplay deliver", 1},               // posted before Play returned
    };
    const auto play = fake.in.Play;
    for (const EndMessageRow& row : rows) {
        SCOPED_TRACE(row.steps);
        WindowQueue queue;
        g_queue = &queue;
        fake.AddInput(std::string(kFolder) + "in_flac.dll");
        MakePlayer();
        player->On_playchange = [&queue](uint32_t mark) { queue.items.push_back(mark); };
        Playing(100000, 0);
        std::istringstream steps(row.steps);
        for (std::string step; steps >> step;) {
            if (step == "deliver") queue.Deliver(*player);
            if (step == "post") queue.items.push_back(WindowQueue::kEndMessage);
            if (step == "seek") player->SeekPercent(10);
            if (step == "replay") player->OpenAndPlay("a.ogg");
            if (step == "other") player->OpenAndPlay("b.flac");
            if (step == "stop") player->StopPlay();
            if (step == "pause") player->TogglePause();
            if (step == "timerend") {
                fake.position = fake.length;
                player->Tick();
            }
            if (step == "postduringplay") {
                fake.in.Play = PlayPostingTheEnd;
                player->OpenAndPlay("b.flac");
            }
        }
        std::erase(events, "timer");
        EXPECT_EQ(TakeEvents(), std::vector<std::string>(row.ends, "endplay"));
        fake.in.Play = play;
    }
    g_queue = nullptr;
}

// A wide-name module's file names, as it reads them.
std::vector<std::u16string> g_wideNames;
int QEL_CDECL WidePlay(char* file) {
    g_wideNames.emplace_back(reinterpret_cast<const char16_t*>(file));
    return 0;
}
int QEL_CDECL WideInfoBox(char* file, ModuleWindow) { return WidePlay(file); }

TEST_F(PlayerTest, WideNameModulesGetNamesInTheSystemCodePage) {
    InstallBoth();
    const auto play = fake.in.Play;
    fake.in.version = kInModuleVersion | kInModuleWideNames;
    fake.in.Play = WidePlay;
    fake.in.InfoBox = WideInfoBox;
    g_wideNames.clear();
    // 0xE9 is "é" in the code page; 0x81 is a byte it leaves undefined.
    const std::string name = "caf\xE9 \x81?.ogg";
    ASSERT_TRUE(player->OpenAndPlay(name));
    player->ShowFileInfo(nullptr);
    player->ShowInfoBoxFor("b.ogg", nullptr);
    const std::u16string wide = u"caf\u00E9 \u0081?.ogg";
    EXPECT_EQ(g_wideNames, (std::vector<std::u16string>{wide, wide, u"b.ogg"}));

    // The same module saying 8-bit names gets the bytes as they are.
    fake.in.version = kInModuleVersion;
    fake.in.Play = play;
    fake.TakeCalls();
    ASSERT_TRUE(player->OpenAndPlay(name));
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Stop", "Play " + name));
}

TEST_F(PlayerTest, TickWithoutModuleFiresTheTimer) {
    player->Tick();
    EXPECT_THAT(TakeEvents(), ElementsAre("timer"));
    EXPECT_EQ(player->TimesText(), "0--0");
}

TEST_F(PlayerTest, VolumeAndBalanceReachTheModuleOnlyWhilePlaying) {
    player->SetVolumeLevel(100);
    player->SetBalance(-30);
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());
    EXPECT_EQ(ini.ReadString("settings/plkv.ini", "pl_param", "vol", ""), "100");
    Playing();
    EXPECT_EQ(player->Volume, 100);
    player->SetVolumeLevel(100);
    player->SetVolumeLevel(41);
    player->SetBalance(-30);
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("SetVolume 250", "SetVolume 102", "SetPan -30"));
    EXPECT_EQ(ini.ReadString("settings/plkv.ini", "pl_param", "vol", ""), "41");
}

TEST_F(PlayerTest, OutputModuleGetsTheStoredVolume) {
    player->SetVolumeLevel(80);
    InstallBoth();
    ASSERT_TRUE(player->OpenAndPlay("a.ogg"));
    EXPECT_THAT(fake.TakeCalls(), ::testing::Contains("out SetVolume 200"));
}

TEST_F(PlayerTest, EqualizerCallSequences) {
    player->SetPreamp(12);  // nothing loaded: only stored
    EXPECT_EQ(player->GetPreamp(), 12);
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());
    Playing();
    EXPECT_THAT(fake.TakeCalls(), IsEmpty()) << "a newly loaded module is not sent the equalizer";

    EXPECT_TRUE(player->SetBand(3, 40));
    EXPECT_TRUE(player->SetBand(10, 300));
    EXPECT_FALSE(player->SetBand(11, 1));
    EXPECT_FALSE(player->SetBand(0, 1));
    EXPECT_EQ(player->GetBand(3), 40);
    EXPECT_EQ(player->GetBand(10), 44);
    EXPECT_EQ(player->GetBand(0), 0);
    player->ApplyBands(3, player->Bands);
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("EQSet 3 31,31,40,31,31,31,31,31,31,44 12"));

    player->SetPreamp(-5);
    std::vector<std::string> expected;
    for (int on = 1; on <= 10; ++on)
        expected.push_back("EQSet " + std::to_string(on) + " 31,31,40,31,31,31,31,31,31,44 -5");
    EXPECT_EQ(fake.TakeCalls(), expected);
}

TEST_F(PlayerTest, FailedLoadForgetsTheRecordOfTheFreedModule) {
    Playing();
    EXPECT_FALSE(player->OpenAndPlay("b.flac"));  // in_flac.dll is missing
    EXPECT_EQ(player->InputModule(), nullptr);
    player->ShowAbout(nullptr);
    player->SetPreamp(1);
    player->Tick();
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("Stop", "Quit"));
}

}  // namespace
}  // namespace qel
