#pragma once
// Windows Media Audio files (ASF): the stream properties and the texts, all
// from the objects of the ASF header; nothing of the data behind it is read.
#include <cstdint>
#include <string>

#include "readers/virtualtag.h"

namespace qel {

// The texts of the content description and of the extended content
// descriptors, in the system's code page.
struct WMATags {
    std::string Title, Artist, Album, Year, Genre, Comment, Composer, Encoder, Copyright;
    std::string TrackText;  // as the file writes it
    uint16_t Track = 0;
    std::string Language, Link, Settings;
};

class TWMAfile : public Ttag {
public:
    // What one file may make the analyser look at.
    static constexpr int kMaxObjects = 256;      // header objects
    static constexpr int kMaxDescriptors = 512;  // extended content descriptors
    static constexpr size_t kTextBytes = 1024;   // of any one text

    explicit TWMAfile(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    double DurationSeconds() const;
    int64_t BitRateKbps() const;
    bool IsValidStream() const;
    std::string ChannelText() const;
    const char* CodecText() const;

    int64_t FileLength = 0;     // the file's size
    // The file properties object.
    uint64_t PlayDuration = 0;  // 100-nanosecond units
    uint64_t Preroll = 0;       // milliseconds
    uint32_t MaxBitRate = 0;    // bit/s
    // The first audio stream's format.
    bool HasAudio = false;
    uint16_t FormatTag = 0;
    uint16_t Channels = 0;
    uint32_t SampleRate = 0;
    uint32_t BytesPerSecond = 0;
    uint16_t BitsPerSample = 0;
    WMATags Tags;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
};

}  // namespace qel
