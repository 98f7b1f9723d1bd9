#include <gtest/gtest.h>

#include "playlist/PlaylistFixture.h"

namespace qel::test {
namespace {

using Lines = std::vector<std::string>;

class PlaylistKvTest : public PlaylistFixture {};

TEST_F(PlaylistKvTest, AddingToAnEmptyListMakesItemZeroCurrentOnce) {
    dialogs.openAnswers.push_back(Lines{"C:\\music\\a.mp3", "D:\\b.ogg"});
    list.addfiles();
    EXPECT_EQ(list.paths(), (Lines{"a.mp3", "C:\\music\\a.mp3", "b.ogg", "D:\\b.ogg"}));
    EXPECT_EQ(box.Items(), (Lines{"a.mp3", "b.ogg"}));
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_FALSE(box.MultiSelect());
    EXPECT_EQ(newitems, (Lines{"C:\\music\\a.mp3"}));
    EXPECT_EQ(additems, (std::vector<int32_t>{2}));
    ASSERT_EQ(dialogs.openShown.size(), 1u);
    const FileDialogSettings& shown = dialogs.openShown[0];
    EXPECT_EQ(shown.filter, "all file|*.*|mp3 file|*.mp3");
    EXPECT_EQ(shown.initialDir, "c:\\");
    EXPECT_TRUE(shown.multiSelect && shown.fileMustExist && shown.hideReadOnly && shown.resizable);
}

TEST_F(PlaylistKvTest, AddingToAFilledListOrCancellingRaisesOnlyOnadditem) {
    Add({"C:\\a.mp3"});
    list.setItemIndex(-1);
    dialogs.openAnswers.push_back(Lines{"C:\\x\\b.mp3"});
    list.addfiles();
    EXPECT_TRUE(list.hadfiles);
    EXPECT_TRUE(newitems.empty());
    EXPECT_EQ(list.itemIndex(), -1);
    EXPECT_EQ(list.paths(), (Lines{"a.mp3", "C:\\a.mp3", "b.mp3", "C:\\x\\b.mp3"}));

    list.addfiles();  // cancelled: no answer scripted
    EXPECT_EQ(additems, (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(list.count(), 2);

    MemoryListBox other;
    ScriptedDialogs none;
    TPlaylistKv empty(other, none, ini, files);
    int raised = -1;
    empty.Onadditem = [&](int32_t n) { raised = n; };
    empty.addfiles();
    EXPECT_EQ(raised, 0);
}

TEST_F(PlaylistKvTest, NextItemStopsAtTheEndUnlessKrugIsOne) {
    Add({"C:\\a", "C:\\b", "C:\\c"});
    list.setItemIndex(2);
    list.curpath = "playing";
    list.nextitem();
    EXPECT_TRUE(newitems.empty());
    EXPECT_EQ(list.curpath, "playing");
    EXPECT_EQ(list.itemIndex(), 2);

    list.krug = 2;  // only 1 wraps
    list.nextitem();
    EXPECT_TRUE(newitems.empty());

    list.krug = 1;
    list.nextitem();
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_EQ(newitems, (Lines{"C:\\a"}));
    list.nextitem();
    EXPECT_EQ(newitems, (Lines{"C:\\a", "C:\\b"}));
}

TEST_F(PlaylistKvTest, NextItemWithoutSelectionStartsAtZeroAndLeavesMultiSelection) {
    MemoryListBox emptyBox;
    TPlaylistKv empty(emptyBox, dialogs, ini, files);
    bool raised = false;
    empty.Onnewitem = [&](TPlaylistKv&) { raised = true; };
    empty.nextitem();
    empty.krug = 1;
    empty.nextitem();
    EXPECT_FALSE(raised);

    Add({"C:\\a", "C:\\b"});
    list.clickitem();
    ASSERT_TRUE(box.MultiSelect());
    list.setItemIndex(-1);
    list.nextitem();
    EXPECT_FALSE(box.MultiSelect());
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_EQ(newitems, (Lines{"C:\\a"}));
}

TEST_F(PlaylistKvTest, PrevItemRepeatsItemZeroAndNeverWraps) {
    Add({"C:\\a", "C:\\b", "C:\\c"});
    list.krug = 1;
    list.setItemIndex(2);
    list.previtem();
    list.previtem();
    list.previtem();
    EXPECT_EQ(newitems, (Lines{"C:\\b", "C:\\a", "C:\\a"}));
    EXPECT_EQ(list.itemIndex(), 0);

    newitems.clear();
    list.setItemIndex(-1);
    list.curpath = "old";
    list.previtem();
    EXPECT_EQ(list.curpath, "");
    EXPECT_TRUE(newitems.empty());
}

TEST_F(PlaylistKvTest, PrevItemOnAOneItemList) {
    Add({"C:\\only.mp3"});
    list.previtem();
    EXPECT_EQ(newitems, (Lines{"C:\\only.mp3"}));
}

TEST_F(PlaylistKvTest, TakeSelectedNeedsASelection) {
    AddABCDE();
    list.setItemIndex(3);
    list.takeselected();
    EXPECT_EQ(list.curpath, "C:\\m\\d.mp3");
    list.setItemIndex(-1);
    list.takeselected();
    EXPECT_EQ(list.curpath, "C:\\m\\d.mp3");
    EXPECT_EQ(newitems.size(), 1u);
}

TEST_F(PlaylistKvTest, DeletingScatteredSelectionsKeepsPathsPaired) {
    AddABCDE();
    list.clickitem();
    box.UserClick(1);
    box.UserClick(3, true);
    list.curpath = "C:\\m\\b.mp3";
    list.delselected();
    EXPECT_EQ(box.Items(), (Lines{"a.mp3", "c.mp3", "e.mp3"}));
    EXPECT_EQ(list.paths(), (Lines{"a.mp3", "C:\\m\\a.mp3", "c.mp3", "C:\\m\\c.mp3", "e.mp3", "C:\\m\\e.mp3"}));
    EXPECT_EQ(list.curpath, "C:\\m\\b.mp3");
    EXPECT_TRUE(newitems.empty());

    list.clickitem();
    for (int i = 0; i < 3; ++i) box.UserClick(i, true);
    list.delselected();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.paths().empty());
}

// The rescan-from-the-start deletion, kept as the reference for the one-pass one.
Lines DeleteByRescan(Lines paths, std::vector<char> selected) {
    size_t index = 0;
    while (index < selected.size()) {
        if (selected[index]) {
            selected.erase(selected.begin() + static_cast<std::ptrdiff_t>(index));
            paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(2 * index),
                        paths.begin() + static_cast<std::ptrdiff_t>(2 * index + 2));
            index = 0;
        } else {
            ++index;
        }
    }
    return paths;
}

TEST_F(PlaylistKvTest, DeletingSelectionsMatchesTheRescanningDeletion) {
    Lines chosen;
    for (int i = 0; i < 300; ++i) chosen.push_back("C:\\d" + std::to_string(i % 7) + "\\f" + std::to_string(i));
    unsigned seed = 12345;
    for (int round = 0; round < 5; ++round) {
        list.clearall();
        Add(chosen);
        list.clickitem();
        list.multilatch = false;
        box.SetItemIndex(-1);
        std::vector<char> selected(chosen.size());
        for (size_t i = 0; i < selected.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            selected[i] = (seed >> 16) % (round + 2) == 0;
            if (selected[i]) box.UserClick(static_cast<int32_t>(i), true);
        }
        Lines expected = DeleteByRescan(list.paths(), selected);
        list.delselected();
        EXPECT_EQ(list.paths(), expected) << round;
        ASSERT_EQ(static_cast<size_t>(list.count()) * 2, expected.size());
        for (int32_t i = 0; i < list.count(); ++i) EXPECT_EQ(box.Item(i), expected[2 * i]);
    }
}

TEST_F(PlaylistKvTest, ClearAllTouchesNeitherCurpathNorEvents) {
    AddABCDE();
    list.curpath = "C:\\m\\a.mp3";
    list.clearall();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.paths().empty());
    EXPECT_EQ(list.curpath, "C:\\m\\a.mp3");
    Add({"C:\\z.mp3"});
    EXPECT_EQ(list.paths(), (Lines{"z.mp3", "C:\\z.mp3"}));
}

TEST_F(PlaylistKvTest, DraggingDownAndUpMovesThePairs) {
    // Selection at the start of the drag and at its end, as the box reports them.
    auto drag = [this](int32_t from, int32_t to) {
        list.clearall();
        Add({"C:\\A", "C:\\B", "C:\\C"});
        list.setItemIndex(from);
        list.dragitem();
        list.setItemIndex(to);
        list.dropitem();
        EXPECT_EQ(list.dragfrom, from);
        EXPECT_EQ(list.dragto, to);
        EXPECT_EQ(list.itemIndex(), to);
    };
    drag(0, 2);
    EXPECT_EQ(box.Items(), (Lines{"B", "C", "A"}));
    EXPECT_EQ(list.paths(), (Lines{"B", "C:\\B", "C", "C:\\C", "A", "C:\\A"}));
    drag(2, 0);
    EXPECT_EQ(box.Items(), (Lines{"C", "A", "B"}));
    EXPECT_EQ(list.paths(), (Lines{"C", "C:\\C", "A", "C:\\A", "B", "C:\\B"}));
    drag(1, 2);
    EXPECT_EQ(list.paths(), (Lines{"A", "C:\\A", "C", "C:\\C", "B", "C:\\B"}));
}

TEST_F(PlaylistKvTest, DropWithoutAValidTargetMovesNothing) {
    Add({"C:\\A", "C:\\B"});
    list.setItemIndex(1);
    list.dragitem();
    list.setItemIndex(-1);
    list.multilatch = true;
    list.dropitem();
    EXPECT_EQ(box.Items(), (Lines{"A", "B"}));
    EXPECT_EQ(list.paths(), (Lines{"A", "C:\\A", "B", "C:\\B"}));
    EXPECT_FALSE(list.multilatch);
}

TEST_F(PlaylistKvTest, FirstClickSwitchesToMultiSelectionUntilADragEnds) {
    Add({"C:\\A", "C:\\B", "C:\\C"});
    list.clickitem();
    EXPECT_TRUE(box.MultiSelect());
    EXPECT_TRUE(list.multilatch);
    list.singlesel();
    list.clickitem();
    EXPECT_FALSE(box.MultiSelect());
    EXPECT_TRUE(list.multilatch);

    // A whole drag through the box's own actions, as the window wires them.
    struct Wiring : ListBoxListener {
        TPlaylistKv& l;
        explicit Wiring(TPlaylistKv& list) : l(list) {}
        void ListClick() override { l.clickitem(); }
        void ListStartDrag() override { l.dragitem(); }
        void ListEndDrag() override { l.dropitem(); }
    } wiring(list);
    box.SetListener(&wiring);
    box.UserDrag(0, 1);
    box.SetListener(nullptr);
    EXPECT_EQ(box.Items(), (Lines{"B", "A", "C"}));
    EXPECT_FALSE(list.multilatch);
    list.clickitem();
    EXPECT_TRUE(box.MultiSelect());
}

TEST_F(PlaylistKvTest, SetNameChangesTheDisplayOnly) {
    Add({"C:\\A", "C:\\B"});
    list.setname(1, "Artist - Title   ");
    list.setname(7, "ignored");
    EXPECT_EQ(box.Items(), (Lines{"A", "Artist - Title   "}));
    EXPECT_EQ(list.paths(), (Lines{"A", "C:\\A", "B", "C:\\B"}));
}

}  // namespace
}  // namespace qel::test
