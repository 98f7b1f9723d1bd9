#include "host/plugForm.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/SafeFileWrite.h"
#include "playlist/PlaylistFile.h"

namespace qel {

Tformplug::Tformplug(FormPorts ports)
    : list(ports.listView, ports.dialogs, ports.player.ini, ports.files),
      pl(ports.player),
      ports_(std::move(ports)),
      reader_(ports_.player.files, [this] { window().PostTitlesWaiting(); }) {
    ports_.listView.SetBounds(FormDesign::kListBounds);
    ports_.listView.SetMultiSelect(true);
    ports_.window.SetPictureBounds(FormDesign::kPictureBounds);
    ports_.window.SetTimerEnabled(false);
    ports_.listView.SetListener(this);

    list.Onnewitem = [this](TPlaylistKv&) { listnewitem(); };
    list.Onaddlist = [this](int32_t countlist) { listaddlist(countlist); };
    list.Onadditem = [this](int32_t countlist) { listadditem(countlist); };
    pl.On_endplay = [this](TPlayerKorvel&) { pl_endplay(); };
    pl.On_error = [this](TPlayerKorvel&) { pl_error(); };
    // The list takes the form's font, as a child control does unless told otherwise.
    list.setfontname(FormDesign::kFontName);
    list.fontsize(FormDesign::kListFontPoints);
    list.setcharset(FormDesign::kFontCharset);
    FormCreate();
}

Tformplug::~Tformplug() {
    StopTitles();
    ports_.listView.SetListener(nullptr);
}

void Tformplug::Draw(int32_t left, int32_t top, int32_t width, int32_t height, int32_t windowMode) {
    clickX = left + 2;
    clickY = top + 2;
    if (windowMode == 0) window().SetBounds({left, top, width, height});
    const ViewRect client = window().ClientRect();
    ViewRect box = ports_.listView.Bounds();
    ports_.listView.SetBounds({box.left, box.top, client.width, client.height});
    ViewRect picture = window().PictureBounds();
    window().SetPictureBounds({picture.left, picture.top, client.width, client.height});
    hostCall = 0;
    window().SetVisible(true);
}

void Tformplug::WmDestroy() {
    StopTitles();
    window().SetTimerEnabled(false);
    pl.StopPlay();
    setnum();
    settemplist();
    pl.SaveEqualizer();
    pl.Close();
}

void Tformplug::listClick() { list.clickitem(); }

void Tformplug::listDblClick() { list.takeselected(); }

void Tformplug::listStartDrag() {
    savedIndex = ports_.listView.ItemIndex();
    list.dragitem();
}

void Tformplug::listEndDrag() {
    list.dropitem();
    if (ports_.listView.ItemIndex() != savedIndex) {
        list.singlesel();
        titlelist(ports_.listView.Count());
    }
}

void Tformplug::listMouseUp(MouseButton button) {
    if (button != MouseButton::Right) return;
    const int32_t index = ports_.listView.ItemIndex();
    if (index < 0) return;
    pl.ShowInfoBoxFor(list.itempath(index), window().HostHandle());
}

void Tformplug::listnewitem() {
    if (pl.OpenAndPlay(list.curpath)) window().SetTimerEnabled(true);
}

void Tformplug::listaddlist(int32_t countlist) {
    titlelist(countlist);
    ports_.listView.SetItemIndex(0);
    if (ports_.listView.ItemIndex() >= 0) list.takeselected();
    // The window may have been destroyed inside the play's error box: its
    // state files are written already.
    if (pl.Closed()) return;
    settemplist();
}

void Tformplug::listadditem(int32_t countlist) { titlelist(countlist); }

void Tformplug::pl_endplay() {
    window().SetTimerEnabled(false);
    status = kStatusEnded;
    list.nextitem();
    clickhost();
}

void Tformplug::pl_error() {
    status = kStatusError;
    clickhost();
}

void Tformplug::tm1Timer() { pl.Tick(); }

void Tformplug::FormCreate() { getnum(); }

void Tformplug::clickhost() {
    if (hostCall != 1) return;
    window().PostHostClick(clickX, clickY);
}

// Shows at once what the cache knows (or the file name) and leaves the
// reading to the reader: every item is checked there, and only files whose
// stamp differs from their entry's are read.
void Tformplug::titlelist(int32_t count) {
    const std::vector<std::string>& lines = list.paths();
    count = std::clamp<int32_t>(count, 0, static_cast<int32_t>(lines.size() / 2));
    TitleCache kept;  // the entries of this list only
    std::vector<ItemText> changes;
    std::vector<TitleRequest> requests;
    requests.reserve(static_cast<size_t>(count));
    for (int32_t b = 0; b < count; ++b) {
        const std::string& path = lines[2 * static_cast<size_t>(b) + 1];
        kept.KeepFrom(titles_, path);
        TitleRequest request;
        request.index = b;
        request.path = path;
        if (const CachedTitle* cached = kept.Find(path)) {
            std::string shown = DisplayText(b, cached->title, lines[2 * static_cast<size_t>(b)]);
            if (ports_.listView.Item(b) != shown) changes.push_back({b, std::move(shown)});
            request.known = true;
            request.stamp = cached->stamp;
        }
        requests.push_back(std::move(request));
    }
    titles_ = std::move(kept);
    list.setnames(changes);
    // The items shown first: from the top of the box down, then those above.
    const int32_t top = std::clamp(ports_.listView.TopIndex(), 0, count);
    std::rotate(requests.begin(), requests.begin() + top, requests.end());
    reader_.Read(++titleList_, std::move(requests));
}

size_t Tformplug::TitlesArrived() {
    std::vector<TitleRead> reads = reader_.Take(kTitlesPerTurn);
    const std::vector<std::string>& lines = list.paths();
    std::vector<ItemText> changes;
    for (TitleRead& read : reads) {
        const size_t line = 2 * static_cast<size_t>(read.index);
        // A title of an earlier list is dropped, whatever its item holds now.
        if (read.list != titleList_ || read.index < 0 || line + 1 >= lines.size() || lines[line + 1] != read.path)
            continue;
        std::string shown = DisplayText(read.index, read.title, lines[line]);
        if (ports_.listView.Item(read.index) != shown) changes.push_back({read.index, std::move(shown)});
        titles_.Store(read.path, CachedTitle{read.stamp, std::move(read.title)});
    }
    list.setnames(changes);
    return reads.size();
}

void Tformplug::StopTitles() { reader_.Stop(); }

void Tformplug::StopTitlesWhileUnloading() { reader_.StopWhileUnloading(); }

void Tformplug::setnum() {
    int32_t index = ports_.listView.ItemIndex();
    if (index == 0) index = -1;
    const uint32_t value = static_cast<uint32_t>(index);
    const std::array<char, 4> bytes{char(value & 0xFF), char(value >> 8 & 0xFF), char(value >> 16 & 0xFF),
                                    char(value >> 24 & 0xFF)};
    ReplaceFileContents(StatePath(kIndexStateFile), std::string_view(bytes.data(), bytes.size()));
}

void Tformplug::getnum() {
    std::unique_ptr<BinaryFile> file = ports_.files.OpenRead(StatePath(kIndexStateFile), ShareMode::AllowWriters);
    if (!file) return;
    std::array<uint8_t, 4> bytes{};
    ReadAt(*file, 0, bytes.data(), bytes.size());  // the value is not applied
    file.reset();
    pl.StopPlay();
}

void Tformplug::settemplist() {
    const std::string path = StatePath(kListStateFile);
    if (ports_.listView.Count() == 0) {
        std::remove(path.c_str());
        return;
    }
    SavePlaylistFile(path, list.paths());
}

void Tformplug::gettemplist() {
    const std::string path = StatePath(kListStateFile);
    if (ports_.files.OpenRead(path, ShareMode::AllowWriters)) list.openlist(path);
}

void Tformplug::PlayCurrent() {
    if (pl.OpenAndPlay(list.curpath)) window().SetTimerEnabled(true);
}

void Tformplug::addtolist() {
    savedIndex = ports_.listView.ItemIndex();
    list.addfiles();
    list.singlesel();
    if (savedIndex >= ports_.listView.Count()) savedIndex = 0;
    ports_.listView.SetItemIndex(savedIndex);
}

void Tformplug::clearlist() {
    list.clearall();
    titles_.Clear();
    reader_.Read(++titleList_, {});
}

void Tformplug::clearselect() {
    list.delselected();
    listaddlist(ports_.listView.Count());
}

void Tformplug::moveplug(int32_t code, int32_t step) {
    ViewRect box = ports_.listView.Bounds();
    switch (code) {
        case 1: box.left += step; break;
        case -1: box.left -= step; break;
        case 2: box.top += step; break;
        case -2: box.top -= step; break;
        case 3: box.height += step; break;
        case -3: box.height -= step; break;
        case 4: box.width += step; break;
        case -4: box.width -= step; break;
        default: return;
    }
    ports_.listView.SetBounds(box);
}

void Tformplug::setfon(const std::string& path) {
    const PictureKind kind = PictureKindOf(path);
    if (kind == PictureKind::Unsupported) return;
    window().LoadPicture(path, kind);
}

}  // namespace qel
