// The window object's logic over fakes: placement, notifications, the state
// files, the destroy sequence and the playlist wiring.
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "host/FormFixture.h"
#include "support/ID3Builders.h"
#include "support/ModuleFixtures.h"
#include "support/MpegStreams.h"

namespace qel::test {
namespace {

using Calls = std::vector<std::string>;

bool Has(const Calls& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class FormTest : public FormFixture {};

TEST_F(FormTest, CreationLaysOutTheDesignAndStaysHidden) {
    Create();
    EXPECT_EQ(box.Bounds(), (ViewRect{0, 0, 17, 17}));
    EXPECT_TRUE(box.MultiSelect());
    EXPECT_EQ(window.PictureBounds(), (ViewRect{0, 0, 105, 105}));
    EXPECT_FALSE(window.visible());
    EXPECT_FALSE(window.TimerEnabled());
    EXPECT_EQ(form->pl.dllpath, "plugin\\");
    EXPECT_EQ(form->pl.outdll, "out_wave.dll");
    EXPECT_TRUE(form->pl.vieverror);
    EXPECT_EQ(form->status, 0);
    // The list shows the form's font until a style changes it.
    EXPECT_EQ(box.font.name, "Tahoma");
    EXPECT_EQ(box.font.size, 10);
    EXPECT_EQ(box.font.charset, 204);
}

TEST_F(FormTest, DrawPlacesTheWindowOnlyInModeZero) {
    Create();
    form->hostCall = 1;
    form->Draw(100, 50, 200, 300, 0);
    EXPECT_EQ(window.Bounds(), (ViewRect{100, 50, 200, 300}));
    EXPECT_EQ(box.Bounds(), (ViewRect{0, 0, 200, 300}));
    EXPECT_EQ(window.PictureBounds(), (ViewRect{0, 0, 200, 300}));
    EXPECT_EQ(form->hostCall, 0);
    EXPECT_TRUE(window.visible());

    for (int32_t mode : {1, 2}) {
        box.SetBounds({5, 6, 7, 8});
        window.SetVisible(false);
        form->hostCall = 1;
        form->Draw(10, 20, 30, 40, mode);
        EXPECT_EQ(window.Bounds(), (ViewRect{100, 50, 200, 300})) << mode;
        EXPECT_EQ(box.Bounds(), (ViewRect{5, 6, 200, 300})) << "left and top kept, mode " << mode;
        EXPECT_EQ(form->hostCall, 0);
        EXPECT_TRUE(window.visible());
    }
}

TEST_F(FormTest, HostIsNotifiedOnlyWhileTheFlagIsOne) {
    Create();
    form->Draw(100, 50, 200, 300, 0);
    for (int32_t flag : {0, 2, -1}) {
        form->hostCall = flag;
        form->pl_error();
    }
    EXPECT_TRUE(window.clicks.empty());
    EXPECT_EQ(form->status, 77);

    form->hostCall = 1;
    form->pl_endplay();
    ASSERT_EQ(window.clicks.size(), 1u);
    EXPECT_EQ(window.clicks[0], std::make_pair(102, 52));
    EXPECT_EQ(form->status, 55);

    form->Draw(0, 0, 10, 10, 0);  // every Draw switches notifications off
    form->pl_error();
    EXPECT_EQ(window.clicks.size(), 1u);
}

TEST_F(FormTest, IndexStateFileStoresZeroAndNoSelectionAsMinusOne) {
    Create();
    box.AddItems({"a", "b", "c", "d"});
    const std::string path = temp + "pu.tmp";
    const std::vector<std::pair<int32_t, Bytes>> cases{
        {0, {0xFF, 0xFF, 0xFF, 0xFF}}, {3, {0x03, 0, 0, 0}}, {-1, {0xFF, 0xFF, 0xFF, 0xFF}}};
    for (const auto& [index, bytes] : cases) {
        box.SetItemIndex(index);
        form->setnum();
        EXPECT_EQ(ReadFileBytes(path), bytes) << index;
    }
}

TEST_F(FormTest, ListStateFileIsWrittenOrDeleted) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc"});
    form->list.readlist(temp + "list.kvl");
    const std::string text = "a.voc\r\nC:\\m\\a.voc\r\nb.voc\r\nC:\\m\\b.voc\r\n";
    EXPECT_EQ(ReadFileBytes(temp + "pl.tmp"), Bytes(text.begin(), text.end()));

    Call("clearlist");
    form->settemplist();
    EXPECT_FALSE(std::filesystem::exists(temp + "pl.tmp"));
}

TEST_F(FormTest, DestroyStopsThenWritesStateAndEqualizer) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc"});
    form->list.readlist(temp + "list.kvl");
    ASSERT_EQ(form->pl.Started, 1);
    box.SetItemIndex(1);
    std::filesystem::remove(temp + "pl.tmp");

    form->WmDestroy();
    EXPECT_EQ(fake.calls.back(), "Stop");
    EXPECT_EQ(form->pl.Started, 0);
    EXPECT_FALSE(window.TimerEnabled());
    EXPECT_EQ(ReadFileBytes(temp + "pu.tmp"), (Bytes{1, 0, 0, 0}));
    EXPECT_TRUE(std::filesystem::exists(temp + "pl.tmp"));
    EXPECT_NE(ini.texts[temp + "KVeq.ini"].find("preamp"), std::string::npos);
}

TEST_F(FormTest, LoadedListIsTitledPlayedAndRemembered) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc"});
    form->list.openlist(temp + "list.kvl");
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(form->list.curpath, "C:\\m\\a.voc");
    EXPECT_TRUE(Has(fake.calls, "Play C:\\m\\a.voc"));
    EXPECT_TRUE(window.TimerEnabled());
    // Files without a title keep their file names.
    EXPECT_EQ(box.Items(), (std::vector<std::string>{"a.voc", "b.voc"}));
}

// Plays a list of two and ends each file with endFile: the end advances
// the list, notifies the host and, at the last item, stops the timer.
class EndOfPlayTest : public FormFixture {
protected:
    void EndsAdvanceAndNotify(const std::function<void()>& endFile) {
        Create();
        // Marks of play changes come out of the window's queue at once.
        form->pl.On_playchange = [this](uint32_t mark) { form->pl.PlayMarkReached(mark); };
        ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc"});
        form->list.openlist(temp + "list.kvl");
        form->Draw(10, 20, 100, 100, 0);
        form->hostCall = 1;

        endFile();
        EXPECT_EQ(form->status, 55);
        EXPECT_EQ(form->list.curpath, "C:\\m\\b.voc");
        EXPECT_TRUE(Has(fake.calls, "Play C:\\m\\b.voc"));
        EXPECT_TRUE(window.TimerEnabled()) << "the next file plays";
        ASSERT_EQ(window.clicks.size(), 1u);
        EXPECT_EQ(window.clicks[0], std::make_pair(12, 22));

        // At the last item without wrapping nothing more plays.
        endFile();
        EXPECT_FALSE(window.TimerEnabled());
        EXPECT_EQ(form->list.curpath, "C:\\m\\b.voc");
        EXPECT_EQ(window.clicks.size(), 2u);
    }
};

TEST_F(EndOfPlayTest, ByTheTimer) {
    EndsAdvanceAndNotify([this] {
        fake.position = fake.length;
        form->tm1Timer();
    });
}

TEST_F(EndOfPlayTest, ByTheModulesEndMessage) {
    EndsAdvanceAndNotify([this] { form->pl.EndOfFileMessage(); });
    form->pl.EndOfFileMessage();  // a message posted twice ends the file once
    EXPECT_EQ(window.clicks.size(), 2u);
}

TEST_F(FormTest, PlayerErrorSetsStatusAndLeavesTheTimer) {
    Create();
    window.SetTimerEnabled(true);
    form->hostCall = 1;
    AddAudio("C:\\m\\x.ogg");  // no "in_vorbis.dll" among the modules
    form->pl.vieverror = false;
    form->pl.OpenAndPlay("C:\\m\\x.ogg");
    EXPECT_EQ(form->status, 77);
    EXPECT_TRUE(window.TimerEnabled());
    EXPECT_FALSE(window.clicks.empty());
}

TEST_F(FormTest, WindowDestroyedInsideTheErrorBoxEndsTheCallThatShowedIt) {
    // The host destroys the window while the player's first error box is up:
    // the state is written then; the load returning from the box reports
    // nothing more and writes nothing again, and the object outlives it.
    Create();
    ListOf({"C:\\m\\x.ogg"});  // no "in_vorbis.dll" among the modules
    bool released = false;
    boxes.whileShown = [&] {
        form->WmDestroy();
        std::filesystem::remove(temp + "pl.tmp");
        ReleaseWhenIdle([&] { released = true; });
        EXPECT_FALSE(released);
    };
    Plugin().file = temp + "list.kvl";
    Call("loadlist");
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(temp + "pl.tmp"));
    EXPECT_TRUE(released);
    EXPECT_FALSE(form->pl.OpenAndPlay("C:\\m\\a.voc"));
}

TEST_F(FormTest, AddToListKeepsTheSelectedItem) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc", "C:\\m\\c.voc"});
    form->list.openlist(temp + "list.kvl");
    box.SetItemIndex(2);
    AddAudio("C:\\n\\d.voc");
    dialogs.openAnswers.push_back(std::vector<std::string>{"C:\\n\\d.voc", "C:\\n\\e.voc"});
    Call("addtolist");
    EXPECT_EQ(box.Count(), 5);
    EXPECT_EQ(box.ItemIndex(), 2);
    EXPECT_FALSE(box.MultiSelect());
}

TEST_F(FormTest, AddToEmptyListPlaysFirstButSelectsNothing) {
    Create();
    AddAudio("C:\\n\\d.voc");
    dialogs.openAnswers.push_back(std::vector<std::string>{"C:\\n\\d.voc"});
    Call("addtolist");
    EXPECT_TRUE(Has(fake.calls, "Play C:\\n\\d.voc"));
    EXPECT_EQ(box.ItemIndex(), -1);
}

TEST_F(FormTest, ClearSelectWithEverythingSelectedEmptiesTheList) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc"});
    form->list.openlist(temp + "list.kvl");
    Call("stop");
    fake.calls.clear();
    box.UserClick(0);
    box.UserClick(1, true);
    ASSERT_EQ(box.SelectedItems().size(), 2u);

    Call("clearselect");
    EXPECT_EQ(box.Count(), 0);
    EXPECT_TRUE(fake.calls.empty()) << "nothing starts playing";
    EXPECT_FALSE(std::filesystem::exists(temp + "pl.tmp"));
}

TEST_F(FormTest, ClearSelectPlaysTheFirstRemainingItem) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc", "C:\\m\\c.voc"});
    form->list.openlist(temp + "list.kvl");
    box.UserClick(0);
    Call("clearselect");
    EXPECT_EQ(box.Count(), 2);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(form->list.curpath, "C:\\m\\b.voc");
    EXPECT_EQ(fake.calls.back(), "Play C:\\m\\b.voc");
}

TEST_F(FormTest, DoubleClickPlaysAndRightButtonShowsFileInformation) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc"});
    form->list.openlist(temp + "list.kvl");
    box.UserDoubleClick(1);
    EXPECT_EQ(fake.calls.back(), "Play C:\\m\\b.voc");
    box.UserMouseUp(MouseButton::Left);
    EXPECT_EQ(fake.calls.back(), "Play C:\\m\\b.voc");
    box.UserMouseUp(MouseButton::Right);
    EXPECT_EQ(fake.calls.back(), "InfoBox C:\\m\\b.voc");
}

TEST_F(FormTest, DragThatMovesAnItemSwitchesToSingleSelection) {
    Create();
    ListOf({"C:\\m\\a.voc", "C:\\m\\b.voc", "C:\\m\\c.voc"});
    form->list.openlist(temp + "list.kvl");
    box.SetMultiSelect(true);
    box.UserDrag(0, 2);
    EXPECT_EQ(form->list.itempath(2), "C:\\m\\a.voc");
    EXPECT_FALSE(box.MultiSelect());
}

TEST_F(FormTest, PicturesLoadByKindAndFailuresKeepTheOldOne) {
    Create();
    window.loadablePictures = {"C:\\p\\a.bmp", "C:\\p\\b.EMF"};
    form->setfon("C:\\p\\a.bmp");
    EXPECT_EQ(window.picture, "C:\\p\\a.bmp");
    for (const char* bad : {"C:\\p\\missing.bmp", "C:\\p\\a.png", "C:\\p\\noext", "C:\\p\\broken.jpg"}) {
        form->setfon(bad);
        EXPECT_EQ(window.picture, "C:\\p\\a.bmp") << bad;
    }
    form->setfon("C:\\p\\b.EMF");
    EXPECT_EQ(window.picture, "C:\\p\\b.EMF");
}

// An MP3 file whose display title is `title` (an ID3v1 tag without artist).
Bytes TitledMp3(const std::string& title) {
    Bytes out = Frames({}, 417, 20);
    ID3v1Fields tag;
    tag.title = title;
    const Bytes v1 = ID3v1Tag(tag);
    out.insert(out.end(), v1.begin(), v1.end());
    return out;
}

class TitleTest : public FormFixture {
protected:
    // Lists the files named, each with its title (none: a WAV file, whose
    // analyser gives only " - ").
    void ListTitled(const std::vector<std::pair<std::string, std::string>>& items) {
        std::string text;
        for (const auto& [name, title] : items) {
            files.Add("C:\\m\\" + name, title.empty() ? PcmWav(8000, 1, {1, 2}) : TitledMp3(title));
            text += name + "\r\nC:\\m\\" + name + "\r\n";
        }
        WriteFileBytes(temp + "list.kvl", Bytes(text.begin(), text.end()));
        form->pl.vieverror = false;
        form->list.openlist(temp + "list.kvl");
    }
    using Items = std::vector<std::string>;
};

TEST_F(TitleTest, ReTitlingReadsOnlyChangedFilesAndNumbersFromTheCache) {
    Create();
    ListTitled({{"a.mp3", "Song A"}, {"b.wav", ""}, {"c.mp3", "X"}, {"d.mp3", "Song D"}});
    EXPECT_EQ(box.Items(), (Items{"a.mp3", "b.wav", "c.mp3", "d.mp3"})) << "names at once";
    ShowTitles();
    EXPECT_EQ(box.Items(), (Items{"1  Song A   ", "b.wav", "c.mp3", "4  Song D   "}))
        << "\" - \" and one character are no titles";

    const int opens = files.OpenCount();
    box.UserDrag(0, 3);
    EXPECT_EQ(box.Items(), (Items{"b.wav", "c.mp3", "3  Song D   ", "4  Song A   "})) << "numbered before reading";
    ShowTitles();
    EXPECT_EQ(files.OpenCount(), opens) << "no file read again";

    files.Add("C:\\m\\d.mp3", TitledMp3("Song E"));  // replaced, same size
    box.UserDrag(3, 0);
    ShowTitles();
    EXPECT_EQ(box.Items(), (Items{"1  Song A   ", "b.wav", "c.mp3", "4  Song E   "}));
    EXPECT_EQ(files.OpenCount(), opens + 1);
    EXPECT_EQ(form->titleCache().Size(), 4u);

    Call("clearlist");
    EXPECT_EQ(form->titleCache().Size(), 0u) << "the cache holds the list's files only";
}

// The reader's opens wait at a gate the test opens; the window's own opens pass.
class GatedFiles final : public FileOpener {
public:
    explicit GatedFiles(FileOpener& inner) : inner_(inner) {}
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share, std::string* reason) override {
        if (std::this_thread::get_id() != window_) {
            std::unique_lock lock(mutex_);
            ++readerOpens_;
            changed_.notify_all();
            changed_.wait(lock, [this] { return open_; });
        }
        return inner_.OpenRead(path, share, reason);
    }
    std::optional<FileStamp> Stamp(const std::string& path) override { return inner_.Stamp(path); }
    // Closes the gate and counts the reader's opens from now on.
    void Close() {
        const std::lock_guard lock(mutex_);
        open_ = false;
        readerOpens_ = 0;
    }
    void Open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void WaitForReader() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return readerOpens_ > 0; });
    }
    int ReaderOpens() {
        const std::lock_guard lock(mutex_);
        return readerOpens_;
    }

private:
    FileOpener& inner_;
    const std::thread::id window_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = true;
    int readerOpens_ = 0;
};

TEST_F(TitleTest, AListChangedWhileATitleIsReadGetsNoTitleOfAnotherItem) {
    GatedFiles gated(files);
    Create(&gated);
    ListTitled({{"a.mp3", "Song A"}, {"b.mp3", "Song B"}, {"c.mp3", "Song C"}});
    ShowTitles();
    files.Add("C:\\m\\a.mp3", TitledMp3("Song Z"));
    gated.Close();
    box.UserDrag(0, 1);  // [b, a, c]: only a is read again
    gated.WaitForReader();
    box.UserDrag(1, 2);  // [b, c, a] while a's title is read for item 1
    gated.Open();
    ShowTitles();
    EXPECT_EQ(box.Items(), (Items{"1  Song B   ", "2  Song C   ", "3  Song Z   "}));
}

TEST_F(TitleTest, DestroyingTheWindowWhileTitlesAreReadStopsTheReader) {
    GatedFiles gated(files);
    Create(&gated);
    gated.Close();
    ListTitled({{"a.mp3", "Song A"}, {"b.mp3", "Song B"}, {"c.mp3", "Song C"}});
    gated.WaitForReader();
    std::thread opener([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        gated.Open();
    });
    form->WmDestroy();  // returns once the reader has ended
    opener.join();
    const int notices = window.titleNotices;
    EXPECT_EQ(gated.ReaderOpens(), 1) << "no file read after the one being read";
    EXPECT_EQ(form->TitlesArrived(), 0u);
    EXPECT_EQ(box.Items(), (Items{"a.mp3", "b.mp3", "c.mp3"}));
    form->list.openlist(temp + "list.kvl");  // nothing starts the reader again
    EXPECT_EQ(window.titleNotices, notices);
    EXPECT_EQ(gated.ReaderOpens(), 1);
}

}  // namespace
}  // namespace qel::test
