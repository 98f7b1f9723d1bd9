#pragma once
// AAC files: an ADIF header or a run of ADTS frame headers, or an MP4
// container with its item list, and the file's ID3v1 and ID3v2 tags.
#include <cstdint>
#include <string>

#include "readers/ID3v1.h"
#include "readers/ID3v2.h"
#include "readers/MP4file.h"
#include "readers/virtualtag.h"

namespace qel {

class TAACfile : public Ttag {
public:
    enum HeaderType : uint8_t { kUnknownHeader = 0, kADIF = 1, kADTS = 2, kMP4 = 3 };
    enum BitRateType : uint8_t { kUnknownRate = 0, kCBR = 1, kVBR = 2 };
    static constexpr int kMaxFrames = 1000;         // ADTS frame headers read at most
    static constexpr int kSamplesPerFrame = 1024;

    explicit TAACfile(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    int32_t FileLength = 0;
    uint8_t HeaderTypeId = 0;
    uint8_t MpegVersionId = 0;  // 1 MPEG-2, 2 MPEG-4
    uint8_t ProfileId = 0;      // 1 Main, 2 LC, 3 SSR, 4 LTP
    uint8_t Channels = 0;
    int32_t SampleRate = 0;
    int32_t BitRate = 0;        // bit/s
    uint8_t BitRateTypeId = 0;
    TID3v1 ID3v1;
    TID3v2 ID3v2;
    MP4Info MP4;  // what an MP4 container holds; empty for raw streams

    bool IsValidStream() const;
    double DurationSeconds() const;

private:
    // ReadInfo is false when a tag reader cannot read the file or the stream read fails;
    // never throws.
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    void ReadADIF(BinaryFile& file, int64_t start);
    void WalkADTS(BinaryFile& file, int64_t start, int64_t fileSize);
    void ReadMP4Fields(BinaryFile& file, int64_t fileSize);
};

// The sample rate of a 4-bit sampling-frequency index; 0 from 12 on.
int32_t AACSampleRate(unsigned index);

}  // namespace qel
