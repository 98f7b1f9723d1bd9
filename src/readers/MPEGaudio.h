#pragma once
// The MPEG audio analyser: first frame, VBR header, encoder guess, bit rate,
// frame count and play time of an MPEG 1/2/2.5 layer I/II/III file, and its
// ID3v1 and ID3v2 tags. No audio is decoded.
#include <memory>
#include <string>

#include "readers/ID3v1.h"
#include "readers/ID3v2.h"
#include "readers/MPEGframe.h"
#include "readers/virtualtag.h"

namespace qel {

class TMPEGaudio : public Ttag {
public:
    explicit TMPEGaudio(FileOpener& files = SystemFiles());
    ~TMPEGaudio() override;

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    // The stream's figures from the fields of the last read.
    MpegStreamFacts Facts() const;

    int32_t FileLength = 0;
    std::string VendorText;
    VbrInfo Vbr;
    MpegFrameInfo Frame;
    std::unique_ptr<TID3v1> ID3v1;
    std::unique_ptr<TID3v2> ID3v2;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    // Steps of ReadInfo that touch the file; false on an input/output failure.
    bool ReadStream(const std::string& fileName);
    // An ID3v2 tag and nothing but zero bytes behind it (an ID3v1 tag aside):
    // the file is still read for its tags.
    bool TagWithoutAudio() const { return tagOnly_ && ID3v2->Present; }

    int32_t audioStart_ = 0;  // behind the ID3v2 tags
    bool tagOnly_ = false;
};

}  // namespace qel
