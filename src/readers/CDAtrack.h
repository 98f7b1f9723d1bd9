#pragma once
// CD audio tracks (".cda"): track number, start and length from the file,
// disc and track names from the CD player database.
#include <cstdint>
#include <string>

#include "platform/IniFile.h"
#include "readers/virtualtag.h"

namespace qel {

class TCDAtrack : public Ttag {
public:
    // The database is read through ini from the file databasePath names;
    // an empty path means there is no database.
    explicit TCDAtrack(FileOpener& files = SystemFiles());
    TCDAtrack(FileOpener& files, IniFiles& ini, std::string databasePath);

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    bool Valid = false;
    std::string TrackName, DiscArtist, DiscTitle;
    double Duration = 0;  // seconds
    uint16_t TrackNumber = 0;
    double Position = 0;  // start of the track, seconds

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    IniFiles& ini_;
    std::string databasePath_;
};

// The database section of a disc: its identifier in upper-case hexadecimal,
// at least two digits.
std::string DiscSection(uint32_t discId);

}  // namespace qel
