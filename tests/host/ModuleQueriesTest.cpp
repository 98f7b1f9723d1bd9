// What the application window answers to the modules' questions.
#include <filesystem>

#include "host/FormFixture.h"
#include "host/ModuleQueries.h"
#include "support/ModuleFixtures.h"

namespace qel::test {
namespace {

class ModuleQueriesTest : public FormFixture {
protected:
    intptr_t Ask(int32_t id, int32_t data = 0) { return queries->Answer(form.get(), data, id); }
    std::string Narrow(int32_t id, int32_t data = 0) {
        const intptr_t answer = Ask(id, data);
        return answer ? reinterpret_cast<const char*>(answer) : "(0)";
    }
    std::u16string Wide(int32_t id, int32_t data = 0) {
        const intptr_t answer = Ask(id, data);
        return answer ? reinterpret_cast<const char16_t*>(answer) : u"(0)";
    }
    static std::u16string Widened(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

    // Plays the first of a.voc, b.voc and c.wav (a PCM WAV file).
    void PlayingAList() {
        Create();
        form->pl.On_playchange = [this](uint32_t mark) { form->pl.PlayMarkReached(mark); };
        ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc", "C:\\m\\c.wav"});
        files.Add("C:\\m\\c.wav", PcmWav(8000, 1, {1, 2, 3, 4}));
        form->list.openlist(temp + "list.kvl");
    }

    std::unique_ptr<ModuleQueries> queries = std::make_unique<ModuleQueries>();
};

struct NumberRow {
    int32_t id, data;
    intptr_t answer;
};

TEST_F(ModuleQueriesTest, NumbersFollowThePlayerAndTheList) {
    EXPECT_EQ(Ask(0), 0x5000) << "the version needs no window object";
    EXPECT_EQ(Ask(124), 0) << "nothing else is answered without one";
    PlayingAList();
    fake.position = 1234;
    fake.length = 61999;
    const NumberRow playing[] = {
        {0, 0, 0x5000}, {104, 0, 1}, {105, 0, 1234}, {105, 1, 61}, {105, 2, 61999}, {105, 3, 0}, {105, -1, 0},
        {124, 0, 3},    {125, 0, 0}, {260, 0, 0},    {3025, 0, 0}, {1, 0, 0},       {-1, 0, 0},   {99999, 7, 0},
    };
    for (const NumberRow& row : playing) EXPECT_EQ(Ask(row.id, row.data), row.answer) << row.id << " " << row.data;

    form->pl.TogglePause();
    EXPECT_EQ(Ask(104), 3);
    form->pl.TogglePause();
    form->pl.EndOfFileMessage();  // b.voc plays
    EXPECT_EQ(Ask(125), 1);
    EXPECT_EQ(Ask(104), 1);
    form->list.nextitem();
    form->pl.EndOfFileMessage();  // the end of the list
    EXPECT_EQ(Ask(104), 0) << "a file that ended is not playing";
    EXPECT_EQ(Ask(125), 2);
    form->pl.StopPlay();
    EXPECT_EQ(Ask(104), 0);
    EXPECT_EQ(Ask(105, 0), 0);
    EXPECT_EQ(Ask(105, 2), 61999) << "the file is still the current one";
}

TEST_F(ModuleQueriesTest, ListEntriesInBothWidthsAndNothingOutOfRange) {
    Create();
    EXPECT_EQ(Ask(211, 0), 0) << "no list yet";
    EXPECT_EQ(Ask(213, 0), 0);
    EXPECT_EQ(Ask(125), 0);
    PlayingAList();
    EXPECT_EQ(Narrow(211, 1), "C:\\m\\b.voc");
    EXPECT_EQ(Wide(214, 2), u"C:\\m\\c.wav");
    EXPECT_EQ(Narrow(212, 0), "a.voc") << "a file without a title: its name";
    EXPECT_EQ(Wide(213, 2), u"c.wav") << "a WAV file's \" - \" is not shown as a title";
    for (int32_t id : {211, 212, 213, 214})
        for (int32_t data : {3, -1, 1 << 30}) EXPECT_EQ(Ask(id, data), 0) << id << " " << data;
}

TEST_F(ModuleQueriesTest, ATextStaysUntilTheNextQuestionOfItsKind) {
    PlayingAList();
    const char* kept = reinterpret_cast<const char*>(Ask(211, 0));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(reinterpret_cast<const char*>(Ask(211, 0)), kept) << "the same question, the same buffer";
    Ask(212, 1);
    Ask(214, 1);
    Ask(335);
    EXPECT_STREQ(kept, "C:\\m\\a.voc");
    Ask(211, 2);
    EXPECT_STREQ(kept, "C:\\m\\c.wav") << "the next question of the kind replaces it";
    Ask(211, 7);
    EXPECT_STREQ(kept, "C:\\m\\c.wav") << "an answer of 0 leaves the buffer alone";

    // A text longer than the buffer is not cut: it is not answered.
    const std::string longPath = "C:\\" + std::string(ModuleQueries::kTextCapacity, 'x') + ".voc";
    AddAudio(longPath);
    const std::string lines = "long.voc\r\n" + longPath + "\r\n";
    WriteFileBytes(temp + "long.kvl", Bytes(lines.begin(), lines.end()));
    form->list.openlist(temp + "long.kvl");
    EXPECT_EQ(Ask(211, 0), 0);
    EXPECT_EQ(Ask(214, 0), 0);
}

TEST_F(ModuleQueriesTest, SettingsAndModuleFolders) {
    Create();
    const std::string modules = temp + "mods/";
    std::filesystem::create_directories(modules);
    WriteFileBytes(modules + "in_wave.dll", Bytes{1});
    WriteFileBytes(modules + "out_wave.dll", Bytes{1});
    form->pl.dllpath = modules;
    fake.AddInput(modules + "in_wave.dll");
    fake.AddOutput(modules + "out_wave.dll");
    EXPECT_EQ(Narrow(336), temp + "mods") << "before any file: the folder of the output module";

    std::filesystem::remove_all(temp);
    const std::string settings = temp.substr(0, temp.size() - 1);
    EXPECT_EQ(Narrow(335), settings);
    EXPECT_TRUE(std::filesystem::is_directory(temp)) << "created when missing";
    EXPECT_EQ(Narrow(334), temp + "qelplugin.ini");
    EXPECT_EQ(Wide(1335), Widened(settings));
    EXPECT_EQ(Wide(1334), Widened(temp + "qelplugin.ini"));
    EXPECT_EQ(Ask(336), 0) << "no module file in the module folder";

    std::filesystem::create_directories(modules);
    WriteFileBytes(modules + "in_wave.dll", Bytes{1});
    ListOf({modules + "a.voc"});
    form->list.openlist(temp + "list.kvl");
    ASSERT_EQ(form->pl.ModulePath, modules + "in_wave.dll");
    EXPECT_EQ(Narrow(336), temp + "mods");
    EXPECT_EQ(Wide(1336), Widened(temp + "mods"));
}

}  // namespace
}  // namespace qel::test
