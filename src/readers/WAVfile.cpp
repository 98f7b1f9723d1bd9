#include "readers/WAVfile.h"

#include <cstring>

#include "readers/TextForms.h"

namespace qel {

namespace {

uint32_t LittleEndian(const uint8_t* p, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;) value = (value << 8) | p[i];
    return value;
}

bool HasText(const uint8_t* p, const char (&text)[5]) { return std::memcmp(p, text, 4) == 0; }

const char* const kChannelTexts[] = {"Unknown", "Mono", "Stereo"};

}  // namespace

TWAVfile::TWAVfile(FileOpener& files) : Ttag(files) { ClearFields(); }

void TWAVfile::ClearFields() {
    ForgetRead();
    Valid = false;
    ChannelCount = 0;
    SampleRate = 0;
    BitsPerSample = 0;
    FileLength = 0;
}

bool TWAVfile::ReadInfo(const std::string& fileName) {
    return ReadOnce(fileName, [&] { return ReadFields(fileName); });
}

bool TWAVfile::ReadFields(const std::string& fileName) {
    ClearFields();
    uint8_t header[kHeaderSize];
    try {
        auto file = files().OpenRead(fileName, ShareMode::AllowWriters);
        if (!file || !ReadAt(*file, 0, header, kHeaderSize)) return false;
    } catch (...) {
        return false;
    }
    ParseHeader(header);
    return true;
}

void TWAVfile::ParseHeader(const uint8_t (&header)[kHeaderSize]) {
    const uint32_t channels = LittleEndian(header + 22, 2);
    if (!HasText(header, "RIFF") || !HasText(header + 8, "WAVE") || !HasText(header + 12, "fmt ") ||
        (channels != 1 && channels != 2))
        return;
    Valid = true;
    ChannelCount = static_cast<uint8_t>(channels);
    SampleRate = LittleEndian(header + 24, 4);
    BitsPerSample = header[34];
    FileLength = LittleEndian(header + 4, 4) + 8;  // 32 bits: wraps for chunk sizes within 8 of 4 GiB
}

bool TWAVfile::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && Valid) TypeName = "wav";
    return Valid;
}

// The bytes behind the 44-byte header are the audio; computed without
// 32-bit wrap-around, and a header claiming less than 44 bytes gives 0.
double TWAVfile::DurationSeconds() const {
    if (!Valid) return 0;
    const uint64_t audioBits = FileLength > kHeaderSize ? (uint64_t{FileLength} - kHeaderSize) * 8 : 0;
    return Divide(Divide(Divide(static_cast<double>(audioBits), SampleRate), BitsPerSample), ChannelCount);
}

const char* TWAVfile::ChannelText() const { return ChannelCount <= 2 ? kChannelTexts[ChannelCount] : ""; }

void TWAVfile::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.samplrate = IntText(SampleRate);
    InfoSound.filelen = IntText(FileLength);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.cnanmod = ChannelText();
    InfoSound.cnanmodid = IntText(ChannelCount);
    InfoSound.bitpersamp = IntText(BitsPerSample);
    out = InfoSound;
}

void TWAVfile::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    out = InfoTag;
}

std::string TWAVfile::ArtistTitle(const std::string&) { return " - "; }

}  // namespace qel
