// The export table and the slot rules of the command and field exports.
#include <gmock/gmock.h>

#include <map>
#include <set>

#include "host/FormFixture.h"

namespace qel::test {
namespace {

TEST(ExportTableTest, EveryOrdinalFromOneTo141ExactlyOnce) {
    std::map<int, std::string> byOrdinal;
    std::set<std::string_view> names;
    std::vector<std::string_view> doubled;
    for (const ExportEntry& e : ExportTable()) {
        EXPECT_TRUE(names.insert(e.name).second) << e.name;
        for (int ordinal : {int(e.ordinal), int(e.secondOrdinal)}) {
            if (ordinal == 0) continue;
            EXPECT_TRUE(byOrdinal.emplace(ordinal, std::string(e.name)).second) << ordinal;
        }
        if (e.secondOrdinal) doubled.push_back(e.name);
        EXPECT_EQ(e.handler == nullptr, e.kind == ExportKind::Entry) << e.name;
    }
    EXPECT_EQ(names.size(), 136u);
    ASSERT_EQ(byOrdinal.size(), 141u);
    EXPECT_EQ(byOrdinal.begin()->first, 1);
    EXPECT_EQ(byOrdinal.rbegin()->first, 141);
    EXPECT_EQ(doubled, (std::vector<std::string_view>{"get_realpath", "get_preamp", "eqget", "loadeq", "saveeq"}));

    const char* entries[] = {"SetParentWindow", "Draw",    "SetPath",      "SetFile", "GetFile",   "SetData",
                             "GetData",         "GetType", "GetShortInfo", "GetInfo", "Copyright", "Settings"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(byOrdinal[130 + i], entries[i]);
    EXPECT_EQ(byOrdinal[100], "get_realpath");
    EXPECT_EQ(byOrdinal[125], "eqget");
    EXPECT_EQ(byOrdinal[87], "Track2");
}

TEST(ExportTableTest, FieldExportsCoverEveryNamedFieldButTwo) {
    size_t sound = 0, tags = 0;
    for (const ExportEntry& e : ExportTable()) {
        sound += e.kind == ExportKind::SoundField;
        tags += e.kind == ExportKind::TagField;
    }
    EXPECT_EQ(sound, Tinfosound::kFieldCount);
    // Every named tag field but origfile and Tracktext2, with Track exported twice.
    EXPECT_EQ(tags, Tinfotag::kNamedCount - 2 + 1);
    for (const char* name : Tinfosound::kNames) {
        const ExportEntry* e = FindExport(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->kind, ExportKind::SoundField);
    }
}

class ExportsTest : public FormFixture {};

TEST_F(ExportsTest, NothingRunsBeforeTheWindowExists) {
    Plugin().data = 7;
    Plugin().file = "keep";
    for (const ExportEntry& e : ExportTable())
        if (e.handler) RunExport(e.handler);
    EXPECT_EQ(Plugin().data, 7);
    EXPECT_EQ(Plugin().file, "keep");
}

TEST_F(ExportsTest, EmptyCommandsTouchNoSlot) {
    Create();
    Plugin().data = 5;
    Plugin().file = "text";
    for (const char* name : {"fname", "getini", "getfulfilename", "addfulitem", "additem"}) Call(name);
    EXPECT_EQ(Plugin().data, 5);
    EXPECT_EQ(Plugin().file, "text");
    EXPECT_EQ(Plugin().windowMode, 0);
}

TEST_F(ExportsTest, WindowModeParentsTheWindow) {
    Create();
    Plugin().data = 2;
    Call("typeplug");
    EXPECT_FALSE(window.attached);
    EXPECT_EQ(Plugin().windowMode, 2);
    Plugin().data = 1;
    Call("typeplug");
    EXPECT_FALSE(window.attached) << "mode 1 keeps the parent";
    Plugin().data = 0;
    Call("typeplug");
    EXPECT_TRUE(window.attached);
}

TEST_F(ExportsTest, VisibilityOfWindowAndPicture) {
    Create();
    Plugin().data = 3;
    Call("visible");
    EXPECT_TRUE(window.visible());
    Plugin().data = 0;
    Call("visible");
    EXPECT_FALSE(window.visible());
    Plugin().data = 1;
    Call("visiblefon");
    EXPECT_FALSE(window.pictureVisible);
    Plugin().data = 0;
    Call("visiblefon");
    EXPECT_TRUE(window.pictureVisible);
}

TEST_F(ExportsTest, MovePlugUsesTheDefaultStep) {
    Create();
    const ViewRect start = box.Bounds();
    Plugin().data = 3;
    Call("moveplug");
    EXPECT_EQ(box.Bounds().height, start.height + 10);
    Plugin().data = -4;
    Call("moveplug");
    EXPECT_EQ(box.Bounds().width, start.width - 10);
    const ViewRect before = box.Bounds();
    Plugin().data = 5;
    Call("moveplug");
    EXPECT_EQ(box.Bounds(), before);

    Plugin().data = -7;
    Call("setstep");
    Plugin().data = 1;
    Call("moveplug");
    EXPECT_EQ(box.Bounds().left, start.left - 7);
    EXPECT_EQ(window.Bounds(), (ViewRect{0, 0, 104, 213})) << "the window itself never moves";
}

TEST_F(ExportsTest, ViewErrorIsOnOnlyForLowerCaseT) {
    Create();
    for (const auto& [text, on] : std::vector<std::pair<std::string, bool>>{{"t", true}, {"T", false}, {"", false}, {"true", false}}) {
        Plugin().file = text;
        Call("viewerror");
        EXPECT_EQ(form->pl.vieverror, on) << text;
    }
}

TEST_F(ExportsTest, EqualizerBandsThroughTheSlots) {
    Create();
    ListOf({"C:\\m\\a.voc"});
    form->list.openlist(temp + "list.kvl");
    Plugin().file = "3";
    Plugin().data = 0x128;
    Call("eqset");
    EXPECT_THAT(fake.calls.back(), testing::StartsWith("EQSet 3 "));
    Plugin().data = 3;
    Call("eqget");
    EXPECT_EQ(Plugin().data, 0x28);

    const auto bands = form->pl.Bands;
    const size_t calls = fake.calls.size();
    for (const char* text : {"0", "11", "-1", "x", "3x", ""}) {
        Plugin().file = text;
        Plugin().data = 99;
        Call("eqset");
    }
    EXPECT_EQ(form->pl.Bands, bands);
    EXPECT_EQ(fake.calls.size(), calls);
    Plugin().data = 42;
    Call("eqget");  // a band outside 1 to 10 must not fail
}

TEST_F(ExportsTest, SecondsComeFromTheLastMinuteMeasurement) {
    Create();
    ListOf({"C:\\m\\a.voc"});
    form->list.openlist(temp + "list.kvl");
    fake.position = 125000;  // 2:05
    Call("realminut");
    EXPECT_EQ(Plugin().data, 2);
    fake.position = 61000;
    Call("realsecund");
    EXPECT_EQ(Plugin().data, 5) << "no fresh measurement";
    Call("realtime");
    EXPECT_EQ(Plugin().file, "01:01");
    Call("realsecund");
    EXPECT_EQ(Plugin().data, 1);
}

TEST_F(ExportsTest, StatusAndHostCallThroughTheSlots) {
    Create();
    Call("getstatus");
    EXPECT_EQ(Plugin().data, 0);
    form->pl_endplay();
    Call("getstatus");
    EXPECT_EQ(Plugin().data, 55);
    Plugin().data = 1;
    Call("callqel");
    EXPECT_EQ(form->hostCall, 1);
}

TEST_F(ExportsTest, CurrentPathMessage) {
    Create();
    Call("get_realpath");
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].rfind("\xF2\xE5\xEA\xF3\xF9\xE8\xE9 \xEF\xF3\xF2\xFC ", 0), 0u);
    EXPECT_GT(window.messages[0].size(), 13u);
}

TEST_F(ExportsTest, FieldsAreEmptyBeforeAnyFileAndOverwriteTheSlot) {
    Create();
    for (const ExportEntry& e : ExportTable()) {
        if (e.kind != ExportKind::SoundField && e.kind != ExportKind::TagField) continue;
        Plugin().file = "argument";
        RunExport(e.handler);
        EXPECT_EQ(Plugin().file, "") << e.name;
    }
}

TEST_F(ExportsTest, FieldsCopyThePlayersRecords) {
    Create();
    form->pl.Sound.samplrate = "44100";
    form->pl.Sound.compresion = "1.5";
    form->pl.Tags.Title2 = "Song";
    form->pl.Tags.Track = "4";
    form->pl.Tags.autor = "Someone";
    const std::vector<std::pair<const char*, const char*>> expected{
        {"samplrate", "44100"}, {"compresion", "1.5"}, {"Title2", "Song"},
        {"Track1", "4"},        {"Track2", "4"},       {"autor", "Someone"}};
    for (const auto& [name, value] : expected) {
        Call(name);
        EXPECT_EQ(Plugin().file, value) << name;
    }
}

}  // namespace
}  // namespace qel::test
