#pragma once
// The plug-in's window object: owns the playlist and the player, wires their
// events together, tells the host about the end of a file or an error, and
// keeps the state files "pl.tmp" and "pu.tmp" in the temporary folder.
#include <cstdint>
#include <string>

#include "host/PluginState.h"
#include "host/TitleCache.h"
#include "host/TitleReader.h"
#include "platform/BinaryFile.h"
#include "platform/Dialogs.h"
#include "platform/ListBoxView.h"
#include "platform/PluginWindow.h"
#include "player/PlayerKorvel.h"
#include "playlist/PlaylistKv.h"

namespace qel {

// The window's design-time layout.
namespace FormDesign {
constexpr int32_t kClientWidth = 104;
constexpr int32_t kClientHeight = 213;
constexpr ViewRect kListBounds{0, 0, 17, 17};
constexpr ViewRect kPictureBounds{0, 0, 105, 105};
constexpr ViewRect kLabelBounds{8, 40, 97, 16};
constexpr int32_t kListItemHeight = 16;
constexpr int32_t kFontHeight = -13;
constexpr int32_t kFontCharset = 204;
constexpr const char* kFontName = "Tahoma";
constexpr int32_t kListFontPoints = 10;  // the form's 13-pixel font at 96 dots per inch
constexpr const char* kCaption = "My Plugin";
constexpr const char* kLabelCaption = "KORVEL PLUGIN";
constexpr unsigned kTimerIntervalMs = 300;
}  // namespace FormDesign

// What the window works through.
struct FormPorts {
    PluginWindow& window;
    ListBoxView& listView;
    CommonDialogs& dialogs;
    PlayerPorts player;
    FileOpener& files;
    std::string tempFolder;  // with its trailing separator
};

class Tformplug : public ListBoxListener {
public:
    // Builds the window's children with their design-time settings and runs FormCreate.
    explicit Tformplug(FormPorts ports);
    ~Tformplug() override;
    Tformplug(const Tformplug&) = delete;
    Tformplug& operator=(const Tformplug&) = delete;

    TPlaylistKv list;
    TPlayerKorvel pl;

    int32_t clickX = 0;
    int32_t clickY = 0;
    int32_t status = 0;      // 55 after an end of play, 77 after a player error
    int32_t savedIndex = 0;  // selection remembered by a drag and by addtolist
    int32_t hostCall = 0;    // the host is notified only while this is 1

    static constexpr int32_t kStatusEnded = 55;
    static constexpr int32_t kStatusError = 77;

    // The host's Draw: places the window in mode 0, sizes list and picture to
    // the client area, switches notifications off and shows the window.
    void Draw(int32_t left, int32_t top, int32_t width, int32_t height, int32_t windowMode);
    // The window's destroy message: the title reader, stop, "pu.tmp",
    // "pl.tmp", the equalizer.
    void WmDestroy();
    // Ends the title reader for good (its thread is joined); titles already
    // read stay shown. Run on the window's thread; while the library is
    // being unloaded, the second one.
    void StopTitles();
    void StopTitlesWhileUnloading();
    // Shows titles the reader has read (a share of them per call, the rest
    // comes with the next notice); gives how many were taken.
    size_t TitlesArrived();
    TitleReader& titleReader() { return reader_; }
    const TitleCache& titleCache() const { return titles_; }

    // Event handlers.
    void listClick();
    void listDblClick();
    void listStartDrag();
    void listEndDrag();
    void listMouseUp(MouseButton button);
    void listnewitem();
    void listaddlist(int32_t countlist);
    void listadditem(int32_t countlist);
    void pl_endplay();
    void pl_error();
    void tm1Timer();
    void FormCreate();

    // State files.
    void setnum();
    void getnum();
    void settemplist();
    void gettemplist();

    // Operations of the commands that involve more than one child.
    void PlayCurrent();
    void addtolist();
    void clearlist();
    void clearselect();
    void moveplug(int32_t code, int32_t step);
    void setfon(const std::string& path);

    PluginWindow& window() const { return ports_.window; }
    std::string StatePath(const char* name) const { return ports_.tempFolder + name; }

    static constexpr const char* kListStateFile = "pl.tmp";
    static constexpr const char* kIndexStateFile = "pu.tmp";
    // Titles shown per turn of the window's thread: the thread comes back to
    // its messages after a few milliseconds, however long the list.
    static constexpr size_t kTitlesPerTurn = 256;

private:
    void titlelist(int32_t count);
    void clickhost();

    // ListBoxListener: the list box's own events, each a call into the window.
    void ListClick() override {
        FormCall call;
        listClick();
    }
    void ListDblClick() override {
        FormCall call;
        listDblClick();
    }
    void ListStartDrag() override {
        FormCall call;
        listStartDrag();
    }
    void ListEndDrag() override {
        FormCall call;
        listEndDrag();
    }
    void ListMouseUp(MouseButton button) override {
        FormCall call;
        listMouseUp(button);
    }

    FormPorts ports_;
    TitleCache titles_;       // of the files in the list
    uint32_t titleList_ = 0;  // numbers each list titled; older reads are dropped
    TitleReader reader_;
};

}  // namespace qel
