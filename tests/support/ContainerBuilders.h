#pragma once
// Byte builders for synthetic Ogg Vorbis, FLAC, TwinVQ and CD track files.
#include <cstdint>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace qel::test {

// Vorbis comments: vendor length and text, the field count (the number of
// fields unless given) and each field's length and text; no framing bit.
Bytes VorbisComments(const std::string& vendor, const std::vector<std::string>& fields);
Bytes VorbisComments(const std::string& vendor, const std::vector<std::string>& fields, uint32_t count);

// One Ogg page holding packet, with a lacing table that fits it.
Bytes OggPage(const Bytes& packet, int64_t granule, uint32_t sequence = 0);
Bytes VorbisIdentPacket(uint8_t channels, uint32_t sampleRate, int32_t nominalBitRate);
Bytes VorbisCommentPacket(const Bytes& comments);  // 0x03 "vorbis", the comments, framing

// A whole Ogg Vorbis file: identification page, comment page, then one page
// of audioBytes zero bytes whose granule position is lastGranule.
struct OggShape {
    uint8_t channels = 2;
    uint32_t sampleRate = 44100;
    int32_t nominalBitRate = 128000;
    Bytes comments = VorbisComments("Test vendor", {});
    size_t audioBytes = 4000;
    int64_t lastGranule = 441000;
};
Bytes OggVorbisFile(const OggShape& shape);

// FLAC: "fLaC" and a STREAMINFO block, then metadata blocks.
struct FlacShape {
    uint32_t sampleRate = 44100;
    uint8_t channels = 2;
    uint8_t bitsPerSample = 16;
    uint64_t totalSamples = 441000;  // 36 bits
    bool streamInfoIsLast = false;
};
Bytes FlacStart(const FlacShape& shape);
// A metadata block; length is the declared one (the body's size unless given).
Bytes FlacBlock(uint8_t type, bool last, const Bytes& body);
Bytes FlacBlock(uint8_t type, bool last, const Bytes& body, uint32_t length);

// TwinVQ: the 40-byte header (magic, header size, "COMM" chunk with channel
// mode, bit rate, sample-rate code, security level), then chunks.
struct TwinVQShape {
    uint32_t headerSize = 0;
    uint32_t channelMode = 1;
    uint32_t bitRate = 80;
    uint32_t sampleRateCode = 44;
};
Bytes TwinVQHeader(const TwinVQShape& shape);
Bytes TwinVQChunk(const std::string& id, const std::string& text);
Bytes TwinVQChunk(const std::string& id, const std::string& text, uint32_t size);

// A 44-byte ".cda" track record.
Bytes CdaTrack(uint16_t track, uint32_t discId, uint32_t startFrames, uint32_t lengthFrames);

}  // namespace qel::test
