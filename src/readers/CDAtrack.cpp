#include "readers/CDAtrack.h"

#include <cstdio>
#include <cstring>

#include "platform/CdPlayerDatabase.h"
#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

// The track record: the first 44 bytes of the file, little-endian.
constexpr size_t kRecordSize = 44;
constexpr size_t kRiffOffset = 0;
constexpr size_t kFormatOffset = 8;
constexpr size_t kTrackOffset = 22;
constexpr size_t kDiscIdOffset = 24;
constexpr size_t kStartOffset = 28;
constexpr size_t kLengthOffset = 32;
constexpr double kFramesPerSecond = 75;

// Database keys besides the track numbers.
constexpr char kArtistKey[] = "artist";
constexpr char kTitleKey[] = "title";

}  // namespace

std::string DiscSection(uint32_t discId) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(discId));
    return text;
}

TCDAtrack::TCDAtrack(FileOpener& files) : TCDAtrack(files, SystemIniFiles(), CdPlayerIniPath()) {}

TCDAtrack::TCDAtrack(FileOpener& files, IniFiles& ini, std::string databasePath)
    : Ttag(files), ini_(ini), databasePath_(std::move(databasePath)) {
    ClearFields();
}

void TCDAtrack::ResetFields() {
    Valid = false;
    TrackName.clear();
    DiscArtist.clear();
    DiscTitle.clear();
    Duration = 0;
    TrackNumber = 0;
    Position = 0;
}

bool TCDAtrack::ReadFields(const std::string& fileName) {
    uint8_t record[kRecordSize];
    try {
        auto file = files().OpenRead(fileName, ShareMode::DenyWriters);
        if (!file) return false;
        ReadZeroFilled(*file, 0, record, sizeof record);
    } catch (...) {
        return false;
    }
    if (std::memcmp(record + kRiffOffset, "RIFF", 4) != 0 || std::memcmp(record + kFormatOffset, "CDDAfmt ", 8) != 0)
        return true;

    Valid = true;
    TrackNumber = LoadLE16(record + kTrackOffset);
    Position = LoadLE32(record + kStartOffset) / kFramesPerSecond;
    Duration = LoadLE32(record + kLengthOffset) / kFramesPerSecond;
    if (!databasePath_.empty()) {
        const std::string section = DiscSection(LoadLE32(record + kDiscIdOffset));
        TrackName = ini_.ReadString(databasePath_, section, IntText(TrackNumber), "");
        DiscArtist = ini_.ReadString(databasePath_, section, kArtistKey, "");
        DiscTitle = ini_.ReadString(databasePath_, section, kTitleKey, "");
    }
    return true;
}

bool TCDAtrack::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && Valid) TypeName = "cda";
    return Valid;
}

void TCDAtrack::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.duration = RealText(Duration);
    InfoSound.position = RealText(Position);
    out = InfoSound;
}

void TCDAtrack::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    InfoTag.Album2 = DiscTitle;
    InfoTag.Artist2 = DiscArtist;
    InfoTag.Title2 = TrackName;
    InfoTag.Track = IntText(TrackNumber);
    out = InfoTag;
}

std::string TCDAtrack::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return DiscArtist + " - " + TrackName;
}

}  // namespace qel
