#pragma once
// TwinVQ files: stream properties from the 40-byte header and the texts of
// the chunks that follow it up to the audio data.
#include <cstdint>
#include <string>

#include "readers/virtualtag.h"

namespace qel {

class TTwinVQ : public Ttag {
public:
    explicit TTwinVQ(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    std::string ChannelText() const;

    bool Valid = false;
    uint8_t ChannelModeId = 0;  // 0 unknown, 1 mono, 2 stereo
    uint8_t BitRate = 0;        // kbit/s, low 8 bits of the header's value
    uint16_t SampleRate = 0;
    int32_t FileLength = 0;
    double Duration = 0;        // 0 when the header's bit rate is 0
    std::string Title, Comment, Author, Copyright, OrigFile;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
};

}  // namespace qel
