// The playlist logic driving a real LISTBOX (run under Wine inside Xvfb).
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32ListBox.h"
#include "playlist/PlaylistKv.h"
#include "support/MemoryFiles.h"
#include "support/MemoryIniFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace qel::test {
namespace {

using Lines = std::vector<std::string>;

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The window's wiring of the box's actions to the playlist.
struct Wiring : ListBoxListener {
    explicit Wiring(TPlaylistKv& l) : list(l) {}
    void ListClick() override { list.clickitem(); }
    void ListStartDrag() override {
        list.dragitem();
        ++starts;
    }
    void ListEndDrag() override { list.dropitem(); }
    TPlaylistKv& list;
    int starts = 0;
};

class Win32PlaylistTest : public ::testing::Test {
protected:
    Win32PlaylistTest()
        : parent_(CreateWindowExA(0, "STATIC", "playlist test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  nullptr, nullptr, nullptr, nullptr)),
          box(parent_, {0, 0, 220, 160}, true),
          list(box, dialogs, ini, files) {}
    ~Win32PlaylistTest() override {
        Pump();
        DestroyWindow(parent_);
    }

    void Add(const Lines& paths) {
        dialogs.openAnswers.push_back(paths);
        list.addfiles();
    }

    std::string Text(HWND lb, int i) {
        char buffer[512] = {};
        SendMessageA(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    Lines Texts() {
        Lines out;
        int n = static_cast<int>(SendMessageA(box.Handle(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) out.push_back(Text(box.Handle(), i));
        return out;
    }

    POINT Centre(int item) {
        RECT r{};
        SendMessageA(box.Handle(), LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    void Mouse(UINT msg, WPARAM keys, POINT at) {
        SendMessageA(box.Handle(), msg, keys, MAKELPARAM(at.x, at.y));
        Pump();
    }

    HWND parent_;
    ScriptedDialogs dialogs;
    MemoryIniFiles ini;
    MemoryFiles files;
    Win32ListBox box;
    TPlaylistKv list;
};

TEST_F(Win32PlaylistTest, ItemsAndSelectionReachTheRealBox) {
    ASSERT_NE(box.Handle(), nullptr);
    Add({"C:\\m\\a.mp3", "C:\\m\\b.mp3", "C:\\m\\c.mp3"});
    EXPECT_EQ(Texts(), (Lines{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(GetWindowLongA(box.Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
    EXPECT_EQ(SendMessageA(box.Handle(), LB_GETCURSEL, 0, 0), 0);
    list.nextitem();
    EXPECT_EQ(SendMessageA(box.Handle(), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(list.curpath, "C:\\m\\b.mp3");
    list.setname(2, "Artist - Title   ");
    EXPECT_EQ(Text(box.Handle(), 2), "Artist - Title   ");
    EXPECT_EQ(list.itemIndex(), 1);
    list.setnames({{0, "1  A   "}, {2, "3  C   "}});  // most items: the box is refilled
    EXPECT_EQ(Texts(), (Lines{"1  A   ", "b.mp3", "3  C   "}));
    EXPECT_EQ(list.itemIndex(), 1);
    list.clearall();
    EXPECT_EQ(SendMessageA(box.Handle(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(list.itemIndex(), -1);
}

TEST_F(Win32PlaylistTest, SwitchingSelectionModeKeepsItemsSelectionAndScroll) {
    Lines many;
    for (int i = 0; i < 60; ++i) many.push_back("C:\\m\\t" + std::to_string(i) + ".mp3");
    Add(many);
    list.setItemIndex(30);
    SendMessageA(box.Handle(), LB_SETTOPINDEX, 25, 0);
    const LRESULT top = SendMessageA(box.Handle(), LB_GETTOPINDEX, 0, 0);
    ASSERT_GT(top, 0);
    const Lines before = Texts();

    HWND single = box.Handle();
    list.clickitem();
    EXPECT_NE(box.Handle(), single);
    EXPECT_FALSE(IsWindow(single));
    EXPECT_NE(GetWindowLongA(box.Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
    EXPECT_EQ(Texts(), before);
    EXPECT_EQ(list.itemIndex(), 30);
    EXPECT_EQ(box.SelectedItems(), (std::vector<int32_t>{30}));
    EXPECT_EQ(SendMessageA(box.Handle(), LB_GETTOPINDEX, 0, 0), top);

    // Extended selection holds several items; going back to single
    // selection keeps the selected index.
    SendMessageA(box.Handle(), LB_SETSEL, TRUE, 33);
    SendMessageA(box.Handle(), LB_SETSEL, TRUE, 26);
    const int32_t index = list.itemIndex();
    ASSERT_GE(index, 26);
    EXPECT_EQ(box.SelectedItems(), (std::vector<int32_t>{26, 30, 33}));
    list.singlesel();
    EXPECT_EQ(GetWindowLongA(box.Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
    EXPECT_EQ(SendMessageA(box.Handle(), LB_GETCURSEL, 0, 0), index);
    EXPECT_EQ(SendMessageA(box.Handle(), LB_GETTOPINDEX, 0, 0), top);
    EXPECT_EQ(Texts(), before);

    // Deleting a multiple selection keeps every remaining pair together.
    list.multilatch = false;
    list.multion();
    list.setItemIndex(26);
    SendMessageA(box.Handle(), LB_SETSEL, TRUE, 1);
    SendMessageA(box.Handle(), LB_SETSEL, TRUE, 59);
    list.delselected();
    EXPECT_EQ(list.count(), 57);
    EXPECT_EQ(Text(box.Handle(), 1), "t2.mp3");
    EXPECT_EQ(list.paths()[2], "t2.mp3");
    EXPECT_EQ(list.itempath(28), "C:\\m\\t30.mp3");
    EXPECT_EQ(Text(box.Handle(), 28), "t30.mp3");
    EXPECT_EQ(Text(box.Handle(), 56), "t58.mp3");
}

TEST_F(Win32PlaylistTest, PressingAndMovingDragsAnItemInBothSelectionModes) {
    Wiring wiring(list);
    box.SetListener(&wiring);
    for (bool multi : {false, true}) {
        list.clearall();
        Add({"C:\\A", "C:\\B", "C:\\C", "C:\\D"});
        if (multi) list.multion();
        Pump();
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Centre(0));
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, Centre(1));
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, Centre(2));
        Mouse(WM_LBUTTONUP, 0, Centre(2));
        Pump();
        EXPECT_EQ(Texts(), (Lines{"B", "C", "A", "D"})) << multi;
        EXPECT_EQ(list.paths(), (Lines{"B", "C:\\B", "C", "C:\\C", "A", "C:\\A", "D", "C:\\D"})) << multi;
        EXPECT_EQ(list.dragfrom, 0);
        EXPECT_EQ(list.dragto, 2);
        EXPECT_EQ(list.itemIndex(), 2);
        EXPECT_FALSE(list.multilatch);
    }
    EXPECT_EQ(wiring.starts, 2);

    // A press without moving is a click, not a drag.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Centre(3));
    Mouse(WM_LBUTTONUP, 0, Centre(3));
    Pump();
    EXPECT_EQ(wiring.starts, 2);
    EXPECT_EQ(Texts(), (Lines{"B", "C", "A", "D"}));
    box.SetListener(nullptr);
}

TEST_F(Win32PlaylistTest, TheFirstUserClickSwitchesToMultiSelectionKeepingTheClickedItem) {
    Wiring wiring(list);
    box.SetListener(&wiring);
    Add({"C:\\A", "C:\\B", "C:\\C"});
    HWND single = box.Handle();
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Centre(1));
    Mouse(WM_LBUTTONUP, 0, Centre(1));
    EXPECT_TRUE(list.multilatch);
    EXPECT_NE(box.Handle(), single);
    EXPECT_NE(GetWindowLongA(box.Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
    EXPECT_EQ(Texts(), (Lines{"A", "B", "C"}));
    EXPECT_EQ(list.itemIndex(), 1);

    // Ctrl adds to the selection in the new box.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, Centre(2));
    Mouse(WM_LBUTTONUP, MK_CONTROL, Centre(2));
    EXPECT_EQ(box.SelectedItems(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(wiring.starts, 0);
    box.SetListener(nullptr);
}

TEST_F(Win32PlaylistTest, FontAndColoursAreApplied) {
    list.setfontname("Courier New");
    list.fontsize(12);
    list.addstyle("bold");
    list.addstyle("italic");
    list.setcharset(0);
    list.setcolor("clRed");
    list.fontcolor("$00FF00");
    list.clickitem();  // a recreated box keeps the look

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(box.Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);

    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(box.Frame(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box.Handle())));
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(brush, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 255, 0));
    DeleteDC(dc);

    list.fontcolor("clWindowText");
    list.setcolor("clDefault");
    EXPECT_EQ(box.TextColor(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(box.BackColor(), GetSysColor(COLOR_WINDOW));
}

TEST_F(Win32PlaylistTest, AFailingSaveLeavesTheOldListIntact) {
    Add({"C:\\m\\new.mp3"});
    ScratchFile target("held.kvl", {'o', 'l', 'd', '\r', '\n'});
    // Held open without delete sharing, the old file cannot be replaced.
    HANDLE held = CreateFileA(target.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    dialogs.saveAnswers.push_back(target.path());
    EXPECT_FALSE(list.savelistdlg());
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(target.path()), (Bytes{'o', 'l', 'd', '\r', '\n'}));
    EXPECT_EQ(GetFileAttributesA((target.path() + ".saving").c_str()), INVALID_FILE_ATTRIBUTES);

    dialogs.saveAnswers.push_back(target.path());
    EXPECT_TRUE(list.savelistdlg());
    const std::string expected = "new.mp3\r\nC:\\m\\new.mp3\r\n";
    EXPECT_EQ(ReadFileBytes(target.path()), Bytes(expected.begin(), expected.end()));
}

TEST(Win32DialogTextTest, FiltersResultsAndFlags) {
    EXPECT_EQ(DialogFilter("all file|*.*|mp3 file|*.mp3"), std::string("all file\0*.*\0mp3 file\0*.mp3\0\0", 29));
    EXPECT_EQ(DialogFilter(""), "");

    const std::string one("C:\\m\\a.mp3\0", 11);
    EXPECT_EQ(ChosenFiles(one, 5), (Lines{"C:\\m\\a.mp3"}));
    const std::string several("C:\\m\0a.mp3\0b.ogg\0\0", 18);
    EXPECT_EQ(ChosenFiles(several, 5), (Lines{"C:\\m\\a.mp3", "C:\\m\\b.ogg"}));
    const std::string root("C:\\\0a.mp3\0b.ogg\0\0", 17);
    EXPECT_EQ(ChosenFiles(root, 4), (Lines{"C:\\a.mp3", "C:\\b.ogg"}));
    EXPECT_TRUE(ChosenFiles(std::string(4, '\0'), 0).empty());

    FileDialogSettings open;
    open.multiSelect = open.fileMustExist = open.hideReadOnly = open.resizable = true;
    DWORD flags = FileDialogFlags(open, true);
    for (DWORD f : std::initializer_list<DWORD>{OFN_ALLOWMULTISELECT, OFN_FILEMUSTEXIST, OFN_HIDEREADONLY,
                                                OFN_ENABLESIZING, OFN_EXPLORER})
        EXPECT_EQ(flags & f, f);
    EXPECT_EQ(FileDialogFlags(FileDialogSettings{}, false) & (OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT), 0u);
}

}  // namespace
}  // namespace qel::test
