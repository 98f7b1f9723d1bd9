#pragma once
// The playlist control: a list box of displayed texts with a hidden list of
// two lines per item (file name, full path), the current path, navigation,
// drag reordering, deletion of the selected items, the look of the list and
// its playlist and style files.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ListBoxView.h"
#include "platform/ListLook.h"

namespace qel {

class TPlaylistKv;

using TNotifyEvent = std::function<void(TPlaylistKv& sender)>;
using Tnlis = std::function<void(int32_t countlist)>;

class TPlaylistKv {
public:
    // The control drives view and dialogs; files and ini are where it reads
    // playlists and style files.
    TPlaylistKv(ListBoxView& view, CommonDialogs& dialogs, IniFiles& ini = SystemIniFiles(),
                FileOpener& files = SystemFiles());
    TPlaylistKv(const TPlaylistKv&) = delete;
    TPlaylistKv& operator=(const TPlaylistKv&) = delete;

    // Events; one without a handler is skipped.
    TNotifyEvent Onnewitem;  // another item became current
    Tnlis Onaddlist;         // a list file was loaded
    Tnlis Onadditem;         // the add-files dialog closed

    int32_t krug = 0;     // 1: nextitem wraps from the last item to the first
    std::string curpath;  // full path of the current item

    // Two lines per item: 2i the file name, 2i + 1 the full path.
    const std::vector<std::string>& paths() const { return paths_; }
    // Full path of item index, empty when out of range.
    std::string itempath(int32_t index) const;

    // The list box.
    ListBoxView& view() { return view_; }
    int32_t count() const { return view_.Count(); }
    int32_t itemIndex() const { return view_.ItemIndex(); }
    void setItemIndex(int32_t index) { view_.SetItemIndex(index); }

    // Items, navigation, selection mode, dragging.
    void addfiles();
    void clearall();
    void delselected();
    void takeselected();
    void firstitem();
    void nextitem();
    void previtem();
    void clickitem();
    void multion();
    void singlesel();
    void dragitem();
    void dropitem();
    void setname(int32_t index, const std::string& text);
    void setnames(const std::vector<ItemText>& names);  // several at once

    // Appearance. A colour text that is not a colour leaves the colour unchanged.
    void setcolor(const std::string& text);
    void fontcolor(const std::string& text);
    void setfontname(const std::string& text);
    void fontsize(int32_t size);
    void setcharset(int32_t charset);
    void addstyle(const std::string& text);
    void colordlg();
    void fontdlg();
    void setfilter(const std::string& text);
    const ListFont& font() const { return font_; }
    int32_t color() const { return color_; }

    // Playlist files. readlist and openlist give false when the file cannot
    // be read, and then change nothing.
    bool readlist(const std::string& path);
    bool openlist(const std::string& path);
    void openlistdlg();
    // False when cancelled or when the file could not be written; the file
    // that was there before is then kept.
    bool savelistdlg();

    // Style files (ini files). The writers give false when a value could not
    // be written or the dialog was cancelled.
    void readstyle(const std::string& inifile);
    bool writestyle(const std::string& inifile);
    void loadstyle(const std::string& path);
    bool savestyle(const std::string& path);
    void loaduser();
    bool saveuser();
    // The temporary folder, ending in the system's separator.
    static std::string tempdir();

    // Dialog settings and state shared by the operations.
    FileDialogSettings opendlg;
    FileDialogSettings savedlg;
    bool hadfiles = false;
    bool multilatch = false;
    int32_t dragfrom = 0;
    int32_t dragto = 0;

private:
    void makecurrent(int32_t index);
    void applylook();

    ListBoxView& view_;
    CommonDialogs& dialogs_;
    IniFiles& ini_;
    FileOpener& files_;
    std::vector<std::string> paths_;
    ListFont font_;
    int32_t color_ = kColorWindow;
};

}  // namespace qel
