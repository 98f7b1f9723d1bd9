#pragma once
// MP4 containers (".m4a", ".mp4"): whether a file is one, the properties of
// its first audio track and the texts of its iTunes-style item list. Only
// the boxes these need are read.
#include <cstdint>
#include <string>

#include "platform/BinaryFile.h"
#include "readers/virtualtag.h"

namespace qel {

// The item list's texts, in the system's code page.
struct MP4Tags {
    bool Present = false;  // the movie holds an item list
    std::string Title, Artist, Album, Year, Genre, Comment, Composer, Encoder, Copyright;
    bool HasTrack = false;  // a track item was found
    uint16_t Track = 0;
    std::string TrackText;  // "N", or "N/M" with the total
};

struct MP4Audio {
    bool Found = false;       // an audio track with a sample entry
    uint32_t Format = 0;      // the sample entry's type ("mp4a", "alac", ...)
    uint8_t ProfileId = 0;    // 1 Main, 2 LC, 3 SSR, 4 LTP, 0 otherwise
    uint8_t Channels = 0;
    int32_t SampleRate = 0;   // Hz
    int32_t BitRate = 0;      // bit/s
    uint8_t BitRateTypeId = 0;  // 0 unknown, 1 CBR, 2 VBR (see README)
    double Duration = 0;      // seconds
};

struct MP4Info {
    MP4Audio Audio;
    MP4Tags Tags;
};

// True when the file begins with an "ftyp" box that fits in it.
bool IsMP4(BinaryFile& file, int64_t fileSize);

// The first audio track and the item list of the file's movie box.
MP4Info ReadMP4(BinaryFile& file, int64_t fileSize);

// Title2 ... Copyright2, and Track and Tracktext2 when the list has a track.
void CopyMP4Fields(const MP4Tags& tags, Tinfotag& out);

}  // namespace qel
