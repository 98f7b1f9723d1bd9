// The player's settings files: the volume in "plkv.ini", the equalizer in
// "KVeq.ini", and the integer reading rules they share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniInteger.h"
#include "player/PlayerKorvel.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeModules.h"
#include "support/MemoryIniFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(IniInteger, SettingsReadingRules) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"42", 42},
        {"   42", 42},
        {"+7", 7},
        {"-12", -12},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1F", 31},
        {"0X10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"007", 7},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"12a", std::nullopt},
        {"- 5", std::nullopt},
        {"1 2", std::nullopt},
        {"0x-1", std::nullopt},
        {"$G", std::nullopt},
        {"1.5", std::nullopt},
    };
    const unsigned settings = kHexDollar | kHexX | kHexZeroX;
    for (const Case& c : cases) EXPECT_EQ(IniInteger(c.text, settings), c.value) << '"' << c.text << '"';
    // Only the prefixes asked for introduce hexadecimal digits.
    EXPECT_EQ(IniInteger("x1F", kHexDollar | kHexZeroX), std::nullopt);
    EXPECT_EQ(IniInteger("0x1F", kHexDollar), std::nullopt);
}

class SettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<TPlayerKorvel> MakePlayer(IniFiles& ini, const std::string& folder) {
        auto p = std::make_unique<TPlayerKorvel>(PlayerPorts{slots, ini, boxes, SystemFiles(), times, folder});
        p->dllpath = "mods/";
        p->On_error = [this](TPlayerKorvel&) { ++errors; };
        return p;
    }
    test::FakeModules fake;
    ModuleSlots slots{fake.libraries};
    FakeMessageBoxes boxes;
    PlayTimes times;
    int errors = 0;
};

TEST_F(SettingsTest, VolumeAtConstruction) {
    const std::pair<const char*, int32_t> cases[] = {
        {nullptr, 50}, {"0", 50}, {"-3", 50}, {"80", 80}, {"0x1F", 31}, {"loud", 50}, {" 7 ", 7},
    };
    for (const auto& [stored, volume] : cases) {
        MemoryIniFiles ini;
        if (stored) ini.WriteString("t/plkv.ini", "pl_param", "vol", stored);
        EXPECT_EQ(MakePlayer(ini, "t/")->Volume, volume) << (stored ? stored : "missing");
    }
}

TEST_F(SettingsTest, RefusedVolumeWriteIsReportedAndTheVolumeStillApplies) {
    MemoryIniFiles ini;
    ini.readOnly.insert("t/plkv.ini");
    auto player = MakePlayer(ini, "t/");
    fake.AddInput("mods/in_vorbis.dll");
    fake.AddOutput("mods/out_wave.dll");
    ASSERT_TRUE(player->OpenAndPlay("a.ogg"));
    fake.TakeCalls();
    player->SetVolumeLevel(70);
    EXPECT_EQ(player->ErrorText, "Unable to write to t/plkv.ini");
    EXPECT_EQ(errors, 1);
    EXPECT_THAT(boxes.shown, ElementsAre("Unable to write to t/plkv.ini"));
    EXPECT_EQ(player->Volume, 70);
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("SetVolume 175"));
    EXPECT_EQ(player->CurrentFile, "a.ogg") << "a settings error does not end the file";
}

TEST_F(SettingsTest, RefusedEqualizerWriteStopsTheSave) {
    MemoryIniFiles ini;
    ini.readOnly.insert("t/KVeq.ini");
    auto player = MakePlayer(ini, "t/");
    player->vieverror = false;
    player->SaveEqualizer();
    EXPECT_EQ(player->ErrorText, "Unable to write to t/KVeq.ini");
    EXPECT_EQ(errors, 1) << "the first refused write ends the save";
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(ini.texts.count("t/KVeq.ini"), 0u);
}

// The equalizer file on disk, read and written with the profile rules.
class EqualizerFileTest : public SettingsTest {
protected:
    EqualizerFileTest() {
        static int counter = 0;
        folder = test::ScratchFolder() + "eq" + std::to_string(++counter) + test::ScratchFolder().back();
        std::filesystem::create_directories(folder);
        player = MakePlayer(SystemIniFiles(), folder);
    }
    ~EqualizerFileTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void PlayWithModule() {
        fake.AddInput("mods/in_vorbis.dll");
        fake.AddOutput("mods/out_wave.dll");
        ASSERT_TRUE(player->OpenAndPlay("a.ogg"));
        fake.TakeCalls();
    }
    std::string folder;
    std::unique_ptr<TPlayerKorvel> player;
};

TEST_F(EqualizerFileTest, SavedValuesLoadBackAndReachTheModule) {
    for (int n = 1; n <= 10; ++n) player->SetBand(n, n * 20);
    player->SetPreamp(-9);
    player->SaveEqualizer();
    EXPECT_EQ(player->ErrorText, "");

    PlayWithModule();
    player->SetPreamp(0);
    for (int n = 1; n <= 10; ++n) player->SetBand(n, 0);
    fake.TakeCalls();
    player->LoadEqualizer();
    EXPECT_EQ(player->GetPreamp(), -9);
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(player->GetBand(n), n * 20);
    std::vector<std::string> calls = fake.TakeCalls();
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls[0], "EQSet 1 20,40,60,80,100,120,140,160,180,200 -9");
    EXPECT_EQ(calls[9], "EQSet 10 20,40,60,80,100,120,140,160,180,200 -9");
    EXPECT_EQ(errors, 0);
}

TEST_F(EqualizerFileTest, ValuesAreCutToBytesAndBadOnesKeepTheCurrentValue) {
    test::WriteFileBytes(folder + "KVeq.ini", [] {
        test::Bytes b;
        test::Append(b, "[eqset]\r\n1=300\r\n2=0x1F\r\n3= $10\r\n4=-1\r\n5=loud\r\npreamp=x20\r\n");
        return b;
    }());
    player->SetBand(5, 99);
    player->LoadEqualizer();
    EXPECT_EQ(player->GetBand(1), 44);
    EXPECT_EQ(player->GetBand(2), 31);
    EXPECT_EQ(player->GetBand(3), 16);
    EXPECT_EQ(player->GetBand(4), 255);
    EXPECT_EQ(player->GetBand(5), 99);
    EXPECT_EQ(player->GetBand(6), 31);
    EXPECT_EQ(player->GetPreamp(), 32);
}

TEST_F(EqualizerFileTest, MissingFileIsReportedAndEndsTheCurrentFile) {
    PlayWithModule();
    player->SetBand(1, 7);
    player->LoadEqualizer();
    const std::string message =
        "\xCD\xE5\xF2 \xF4\xE0\xE9\xEB\xE0 \xED\xE0\xF1\xF2\xF0\xEE\xE5\xEA \xFD\xEA\xE2\xE0\xEB\xE0\xE9\xE7\xE5\xF0"
        "a";
    EXPECT_EQ(player->ErrorText, message);
    EXPECT_EQ(errors, 1);
    EXPECT_THAT(boxes.shown, ElementsAre(message));
    EXPECT_EQ(player->CurrentFile, "");
    EXPECT_EQ(player->GetBand(1), 7);
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());
}

TEST_F(EqualizerFileTest, VolumeIsStoredAndReadBack) {
    player->SetVolumeLevel(64);
    EXPECT_EQ(MakePlayer(SystemIniFiles(), folder)->Volume, 64);
}

}  // namespace
}  // namespace qel
