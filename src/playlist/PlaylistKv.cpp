#include "playlist/PlaylistKv.h"

#include <algorithm>

#include "playlist/ColorText.h"

namespace qel {
namespace {

// The file name of a full path: what follows the last folder separator or drive colon.
std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TPlaylistKv::TPlaylistKv(ListBoxView& view, CommonDialogs& dialogs, IniFiles& ini, FileOpener& files)
    : view_(view), dialogs_(dialogs), ini_(ini), files_(files) {
    opendlg.filter = "all file|*.*|mp3 file|*.mp3";
    opendlg.initialDir = "c:\\";
    opendlg.multiSelect = true;
    opendlg.fileMustExist = true;
    opendlg.hideReadOnly = true;
    opendlg.resizable = true;
    savedlg.defaultExt = "kvl";
    savedlg.filter = "Korvel list|*.kvl";
}

std::string TPlaylistKv::itempath(int32_t index) const {
    if (index < 0) return {};
    size_t line = 2 * static_cast<size_t>(index) + 1;
    return line < paths_.size() ? paths_[line] : std::string();
}

void TPlaylistKv::addfiles() {
    hadfiles = count() > 0;
    if (auto chosen = dialogs_.OpenFiles(opendlg)) {
        std::vector<std::string> names;
        names.reserve(chosen->size());
        for (const auto& path : *chosen) {
            names.push_back(FileNameOf(path));
            paths_.push_back(names.back());
            paths_.push_back(path);
        }
        view_.AddItems(names);
    }
    if (count() > 0) firstitem();
    if (Onadditem) Onadditem(count());
}

void TPlaylistKv::clearall() {
    view_.Clear();
    paths_.clear();
}

void TPlaylistKv::delselected() {
    // One pass over the list: the same items go as when the list is scanned
    // again from the start after every deletion.
    std::vector<int32_t> selected = view_.SelectedItems();
    if (selected.empty()) return;
    size_t keep = 0;
    size_t next = 0;
    const size_t items = paths_.size() / 2;
    for (size_t item = 0; item < items; ++item) {
        if (next < selected.size() && static_cast<size_t>(selected[next]) == item) {
            ++next;
            continue;
        }
        if (keep != item) {
            paths_[2 * keep] = std::move(paths_[2 * item]);
            paths_[2 * keep + 1] = std::move(paths_[2 * item + 1]);
        }
        ++keep;
    }
    paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(2 * keep),
                 paths_.begin() + static_cast<std::ptrdiff_t>(2 * items));
    view_.RemoveItems(selected);
}

void TPlaylistKv::takeselected() {
    int32_t index = itemIndex();
    if (index < 0 || 2 * static_cast<size_t>(index) + 1 >= paths_.size()) return;
    curpath = paths_[2 * static_cast<size_t>(index) + 1];
    if (Onnewitem) Onnewitem(*this);
}

void TPlaylistKv::makecurrent(int32_t index) {
    setItemIndex(index);
    takeselected();
}

void TPlaylistKv::firstitem() {
    if (hadfiles) return;
    singlesel();
    makecurrent(0);
}

void TPlaylistKv::nextitem() {
    const int32_t items = count();
    if (items == 0) return;
    const int32_t index = itemIndex();
    if (index < items - 1) {
        singlesel();
        makecurrent(index + 1);
    } else if (krug == 1) {
        singlesel();
        makecurrent(0);
    }
}

void TPlaylistKv::previtem() {
    const int32_t index = itemIndex();
    if (index > 0) {
        singlesel();
        makecurrent(index - 1);
    } else if (index == 0) {
        makecurrent(0);
    }
    if (itemIndex() == -1) curpath.clear();
}

void TPlaylistKv::clickitem() {
    if (!multilatch) multion();
}

void TPlaylistKv::multion() {
    if (multilatch) return;
    view_.SetMultiSelect(true);
    multilatch = true;
}

void TPlaylistKv::singlesel() { view_.SetMultiSelect(false); }

void TPlaylistKv::dragitem() { dragfrom = itemIndex(); }

void TPlaylistKv::dropitem() {
    dragto = itemIndex();
    const int32_t items = count();
    if (dragfrom >= 0 && dragto >= 0 && dragfrom < items && dragto < items && dragfrom != dragto) {
        view_.MoveItem(dragfrom, dragto);
        // The pair of lines travels together; the pairs in between shift by one.
        auto pair = [this](int32_t item) { return paths_.begin() + 2 * static_cast<std::ptrdiff_t>(item); };
        if (dragfrom < dragto)
            std::rotate(pair(dragfrom), pair(dragfrom + 1), pair(dragto + 1));
        else
            std::rotate(pair(dragto), pair(dragfrom), pair(dragfrom + 1));
    }
    multilatch = false;
}

void TPlaylistKv::setname(int32_t index, const std::string& text) { view_.SetItem(index, text); }

void TPlaylistKv::setnames(const std::vector<ItemText>& names) {
    if (!names.empty()) view_.SetItems(names);
}

void TPlaylistKv::applylook() { view_.ApplyLook(font_, color_); }

void TPlaylistKv::setcolor(const std::string& text) {
    if (auto value = ColorFromText(text)) {
        color_ = *value;
        applylook();
    }
}

void TPlaylistKv::fontcolor(const std::string& text) {
    if (auto value = ColorFromText(text)) {
        font_.color = *value;
        applylook();
    }
}

void TPlaylistKv::setfontname(const std::string& text) {
    font_.name = text;
    applylook();
}

void TPlaylistKv::fontsize(int32_t size) {
    font_.size = size;
    applylook();
}

void TPlaylistKv::setcharset(int32_t charset) {
    font_.charset = static_cast<uint8_t>(charset);
    applylook();
}

void TPlaylistKv::addstyle(const std::string& text) {
    if (text == "none") {
        font_.bold = font_.italic = font_.underline = font_.strikeOut = false;
    } else if (text == "bold") {
        font_.bold = true;
    } else if (text == "italic") {
        font_.italic = true;
    } else if (text == "under") {
        font_.underline = true;
    } else if (text == "sout") {
        font_.strikeOut = true;
    } else {
        return;
    }
    applylook();
}

void TPlaylistKv::colordlg() {
    if (auto chosen = dialogs_.PickColor()) {
        color_ = *chosen;
        applylook();
    }
}

void TPlaylistKv::fontdlg() {
    if (auto chosen = dialogs_.PickFont()) {
        font_.charset = chosen->charset;
        font_.color = chosen->color;
        font_.size = chosen->size;
        font_.bold = chosen->bold;
        font_.italic = chosen->italic;
        font_.underline = chosen->underline;
        font_.strikeOut = chosen->strikeOut;
        font_.name = chosen->name;
        applylook();
    }
}

void TPlaylistKv::setfilter(const std::string& text) { opendlg.filter = text; }

}  // namespace qel
