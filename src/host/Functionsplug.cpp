// The command and field exports: each reads its argument from a slot, works on
// the window object and its two children, and leaves its result in a slot.
#include <charconv>

#include "host/ExportTable.h"
#include "host/plugForm.h"
#include "platform/CurrentFolder.h"

namespace qel::exports {

namespace {

Tformplug& Form(PluginState& p) { return *p.form; }
TPlayerKorvel& Player(PluginState& p) { return p.form->pl; }
TPlaylistKv& List(PluginState& p) { return p.form->list; }

// "текущий путь " in the Windows-1251 code page.
constexpr const char* kCurrentPathText = "\xF2\xE5\xEA\xF3\xF9\xE8\xE9 \xEF\xF3\xF2\xFC ";
// The system hands the current directory over in a 256-byte buffer.
constexpr size_t kCurrentPathMax = 255;

// A band number given as text: a whole decimal number, blanks around it allowed.
std::optional<int32_t> BandNumber(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    int32_t value = 0;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

// Window commands.
void typeplug(PluginState& p) {
    p.windowMode = p.data;
    if (p.data == 2) Form(p).window().DetachFromParent();
    if (p.data == 0) Form(p).window().AttachToHost();
}
void visible(PluginState& p) { Form(p).window().SetVisible(p.data != 0); }
void visiblefon(PluginState& p) { Form(p).window().SetPictureVisible(p.data == 0); }
void setfon(PluginState& p) { Form(p).setfon(p.file); }
void setstep(PluginState& p) { p.moveStep = p.data; }
void moveplug(PluginState& p) { Form(p).moveplug(p.data, p.moveStep); }
void get_realpath(PluginState& p) {
    Form(p).window().ShowMessage(kCurrentPathText + CurrentFolder().substr(0, kCurrentPathMax));
}

// Playback commands.
void play(PluginState& p) { Form(p).PlayCurrent(); }
void stop(PluginState& p) { Player(p).StopPlay(); }
void pause(PluginState& p) { Player(p).TogglePause(); }
void sliderset(PluginState& p) { Player(p).SeekPercent(p.data); }
void sliderget(PluginState& p) { p.data = Player(p).PositionPercent(); }
void setvolume(PluginState& p) { Player(p).SetVolumeLevel(p.data); }
void getvolume(PluginState& p) { p.data = Player(p).Volume; }
void setpan(PluginState& p) { Player(p).SetBalance(p.data); }
void realminut(PluginState& p) { p.data = Player(p).PlayedMinutes(); }
void realsecund(PluginState& p) { p.data = Player(p).PlayedSeconds(); }
void realtime(PluginState& p) { p.file = Player(p).PlayedTimeText(); }
void totalminut(PluginState& p) { p.data = Player(p).TotalMinutes(); }
void totalsecund(PluginState& p) { p.data = Player(p).TotalSeconds(); }
void totaltime(PluginState& p) { p.file = Player(p).TotalTimeText(); }
void testtime(PluginState& p) { p.file = Player(p).TimesText(); }
void about(PluginState& p) { Player(p).ShowAbout(Form(p).window().HostHandle()); }
void config(PluginState& p) { Player(p).ShowConfig(Form(p).window().HostHandle()); }
void fileinfo(PluginState& p) { Player(p).ShowFileInfo(Form(p).window().HostHandle()); }

// Player settings and reports.
void dllpath(PluginState& p) { Player(p).dllpath = p.file; }
void outdll(PluginState& p) { p.file = Player(p).outdll; }
void viewerror(PluginState& p) { Player(p).vieverror = p.file == "t"; }
void error(PluginState& p) { p.file = Player(p).ErrorText; }
void typetag(PluginState& p) { p.file = Player(p).TagType; }
void getstatus(PluginState& p) { p.data = Form(p).status; }
void callqel(PluginState& p) { Form(p).hostCall = p.data; }

// Equalizer and preamp: band numbers outside 1 to 10 and band texts that are
// not numbers change nothing.
void get_preamp(PluginState& p) { p.data = Player(p).GetPreamp(); }
void set_pre(PluginState& p) { Player(p).SetPreamp(p.data); }
void eqget(PluginState& p) { p.data = Player(p).GetBand(p.data); }
void eqset(PluginState& p) {
    const auto band = BandNumber(p.file);
    if (!band || !Player(p).SetBand(*band, p.data)) return;
    Player(p).ApplyBands(*band, Player(p).Bands);
}
void loadeq(PluginState& p) { Player(p).LoadEqualizer(); }
void saveeq(PluginState& p) { Player(p).SaveEqualizer(); }

// Playlist commands.
void addtolist(PluginState& p) { Form(p).addtolist(); }
void clearlist(PluginState& p) { Form(p).clearlist(); }
void clearselect(PluginState& p) { Form(p).clearselect(); }
void next1(PluginState& p) { List(p).nextitem(); }
void prev(PluginState& p) { List(p).previtem(); }
void krug(PluginState& p) { List(p).krug = p.data; }
void loadlist(PluginState& p) { List(p).openlist(p.file); }
void getlist(PluginState& p) { List(p).readlist(p.file); }
void loadlistD(PluginState& p) { List(p).openlistdlg(); }
void savelist(PluginState& p) { List(p).savelistdlg(); }
void setloaddialfilter(PluginState& p) { List(p).setfilter(p.file); }

// Appearance commands.
void setbgraund(PluginState& p) { List(p).setcolor(p.file); }
void setfontcolor(PluginState& p) { List(p).fontcolor(p.file); }
void setfont(PluginState& p) { List(p).setfontname(p.file); }
void setfontsize(PluginState& p) { List(p).fontsize(p.data); }
void setfontstyle(PluginState& p) { List(p).addstyle(p.file); }
void setchar(PluginState& p) { List(p).setcharset(p.data); }
void fontdialog(PluginState& p) { List(p).fontdlg(); }
void bgcolordialog(PluginState& p) { List(p).colordlg(); }

// Style file commands.
void savedesingstyle(PluginState& p) { List(p).savestyle(p.file); }
void loaddesingstyle(PluginState& p) { List(p).loadstyle(p.file); }
void saveuserstyle(PluginState& p) { List(p).saveuser(); }
void loaduserstyle(PluginState& p) { List(p).loaduser(); }

// Field exports: one field of the records of the file the player opened last.
#define QEL_COMMAND(name, ordinal, second)
#define QEL_EMPTY(name, ordinal, second)
#define QEL_SOUND_FIELD(name, ordinal, field) \
    void name(PluginState& p) { p.file = Player(p).Sound.field; }
#define QEL_TAG_FIELD(name, ordinal, field) \
    void name(PluginState& p) { p.file = Player(p).Tags.field; }
#define QEL_ENTRY(name, ordinal, second)
#include "host/ExportTable.inc"

}  // namespace qel::exports
