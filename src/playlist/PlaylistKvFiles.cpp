// The playlist control's playlist files and style files.
#include <utility>

#include "platform/CurrentFolder.h"
#include "platform/TempFolder.h"
#include "playlist/ColorText.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistKv.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

constexpr const char* kListFilter = "Korvel list|*.kvl";
constexpr const char* kStyleFilter = "list style|*.kls";
constexpr const char* kStyleExt = "kls";
constexpr const char* kUserStyle = "kvliststyl.ini";

// Puts a value back when the scope ends, however it ends.
template <typename T>
class Restore {
public:
    explicit Restore(T& target) : target_(target), saved_(target) {}
    ~Restore() { target_ = std::move(saved_); }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& target_;
    T saved_;
};

int32_t ReadInteger(IniFiles& ini, const std::string& file, const char* section, const char* key,
                    int32_t current) {
    return Int32FromText(ini.ReadString(file, section, key, ""), true).value_or(current);
}

void ReadStyleFlag(IniFiles& ini, const std::string& file, const char* key, bool& flag) {
    if (ini.ReadString(file, "fontstyle", key, "n") == "y") flag = true;
}

}  // namespace

bool TPlaylistKv::readlist(const std::string& path) {
    auto lines = ReadPlaylistFile(files_, path);
    if (!lines) return false;
    // An odd last line is a name without its path: it is dropped so that
    // every item keeps both of its lines and later additions stay paired.
    if (lines->size() % 2 != 0) lines->pop_back();
    std::vector<std::string> names;
    names.reserve(lines->size() / 2);
    for (size_t i = 0; i < lines->size(); i += 2) names.push_back((*lines)[i]);
    paths_ = std::move(*lines);
    view_.Clear();
    view_.AddItems(names);
    if (count() > 0) {
        singlesel();
        setItemIndex(0);
        curpath = paths_[1];
    }
    if (Onaddlist) Onaddlist(count());
    return true;
}

bool TPlaylistKv::openlist(const std::string& path) {
    if (!readlist(path)) return false;
    setItemIndex(0);
    return true;
}

void TPlaylistKv::openlistdlg() {
    Restore<std::string> filter(opendlg.filter);
    opendlg.filter = kListFilter;
    opendlg.initialDir = CurrentFolder();
    if (auto chosen = dialogs_.OpenFiles(opendlg); chosen && !chosen->empty()) {
        openlist(chosen->front());
    }
}

bool TPlaylistKv::savelistdlg() {
    auto chosen = dialogs_.SaveFile(savedlg);
    return chosen && SavePlaylistFile(*chosen, paths_);
}

void TPlaylistKv::readstyle(const std::string& inifile) {
    font_.name = ini_.ReadString(inifile, "font", "fname", font_.name);
    font_.size = ReadInteger(ini_, inifile, "font", "fsize", font_.size);
    font_.color = ReadInteger(ini_, inifile, "font", "fcolor", font_.color);
    font_.charset = static_cast<uint8_t>(ReadInteger(ini_, inifile, "font", "Charset", font_.charset));
    color_ = ReadInteger(ini_, inifile, "bground", "color", color_);
    // A style file adds styles; it never removes one the font already has.
    ReadStyleFlag(ini_, inifile, "bold", font_.bold);
    ReadStyleFlag(ini_, inifile, "Italic", font_.italic);
    ReadStyleFlag(ini_, inifile, "Underline", font_.underline);
    ReadStyleFlag(ini_, inifile, "StrikeOut", font_.strikeOut);
    applylook();
}

bool TPlaylistKv::writestyle(const std::string& inifile) {
    auto yn = [](bool flag) { return std::string(flag ? "y" : "n"); };
    return ini_.WriteString(inifile, "font", "fname", font_.name) &&
           ini_.WriteString(inifile, "font", "fsize", IntText(font_.size)) &&
           ini_.WriteString(inifile, "font", "fcolor", IntText(font_.color)) &&
           ini_.WriteString(inifile, "fontstyle", "bold", yn(font_.bold)) &&
           ini_.WriteString(inifile, "fontstyle", "Italic", yn(font_.italic)) &&
           ini_.WriteString(inifile, "fontstyle", "Underline", yn(font_.underline)) &&
           ini_.WriteString(inifile, "fontstyle", "StrikeOut", yn(font_.strikeOut)) &&
           ini_.WriteString(inifile, "font", "Charset", IntText(font_.charset)) &&
           ini_.WriteString(inifile, "bground", "color", IntText(color_));
}

void TPlaylistKv::loadstyle(const std::string& path) {
    Restore<std::string> filter(opendlg.filter);
    if (!path.empty()) {
        readstyle(path);
        return;
    }
    opendlg.filter = kStyleFilter;
    if (auto chosen = dialogs_.OpenFiles(opendlg); chosen && !chosen->empty()) readstyle(chosen->front());
}

bool TPlaylistKv::savestyle(const std::string& path) {
    if (!path.empty()) return writestyle(path);
    Restore<std::string> ext(savedlg.defaultExt);
    Restore<std::string> filter(savedlg.filter);
    savedlg.defaultExt = kStyleExt;
    savedlg.filter = kStyleFilter;
    auto chosen = dialogs_.SaveFile(savedlg);
    return chosen && writestyle(*chosen);
}

void TPlaylistKv::loaduser() { readstyle(tempdir() + kUserStyle); }

bool TPlaylistKv::saveuser() { return writestyle(tempdir() + kUserStyle); }

std::string TPlaylistKv::tempdir() { return TempFolder(); }

}  // namespace qel
