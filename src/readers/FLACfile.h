#pragma once
// FLAC files: stream properties from STREAMINFO and the Vorbis comments of
// the metadata blocks at the head of the file (behind any ID3v2 tag).
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "readers/ID3v2.h"
#include "readers/virtualtag.h"

namespace qel {

// A metadata block that must be read whole runs past the end of the file.
class FlacBlockError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFLACfile : public Ttag {
public:
    explicit TFLACfile(FileOpener& files = SystemFiles());

    // Not provided: callers use Open, which reads the file itself.
    bool ReadInfo(const std::string& fileName) override;
    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    // Reads the stream and its comments (once per request, as ReadInfo does
    // elsewhere); true when the stream is valid.
    bool ReadFlac(const std::string& fileName) { return Ttag::ReadInfo(fileName); }
    bool IsValidStream() const;
    double DurationSeconds() const;
    std::string ChannelText() const;

    static constexpr size_t kHeadSize = 42;
    std::array<uint8_t, kHeadSize> HeadBytes{};  // "fLaC", first block header, STREAMINFO
    uint8_t Channels = 0;
    int32_t SampleRate = 0;
    uint8_t BitsPerSample = 0;
    int32_t BitRate = 0;       // kbit/s, only for a valid stream
    int32_t FileLength = 0;    // low 32 bits of the file size
    int64_t TotalSamples = 0;  // low 32 bits of the 36-bit count
    int32_t AudioOffset = 0;   // where the metadata ended

    std::string Vendor;
    std::string TrackText, Title, Artist, Album, Date, Genre, Comment, Tones, Styles, Mood, Situation, Rating,
        Quality, Tempo, Type, Composer, Language, Copyright, Link, Encoder, Lyrics, Performer, License,
        Organization, Description, Location, Contact, Isrc;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;

    TID3v2 id3v2_;
};

}  // namespace qel
