#pragma once
// Byte builders for synthetic Ogg Vorbis, FLAC, TwinVQ, CD track, MP4 and ASF files.
#include <cstdint>
#include <string>
#include <vector>

#include "readers/ASFobjects.h"
#include "support/TestFiles.h"

namespace qel::test {

// Vorbis comments: vendor length and text, the field count (the number of
// fields unless given) and each field's length and text; no framing bit.
Bytes VorbisComments(const std::string& vendor, const std::vector<std::string>& fields);
Bytes VorbisComments(const std::string& vendor, const std::vector<std::string>& fields, uint32_t count);

// One Ogg page holding packet, with a lacing table that fits it.
Bytes OggPage(const Bytes& packet, int64_t granule, uint32_t sequence = 0);
// Pages of stream serial carrying packet, pageBytes (a multiple of 255, at
// most 254 * 255) of it on each: every page after the first has the
// continued flag.
Bytes OggPages(const Bytes& packet, size_t pageBytes, uint32_t sequence, uint32_t serial = 0x1234);
Bytes VorbisIdentPacket(uint8_t channels, uint32_t sampleRate, int32_t nominalBitRate);
Bytes VorbisCommentPacket(const Bytes& comments);  // 0x03 "vorbis", the comments, framing

// A whole Ogg Vorbis file: identification page, comment page, then one page
// of audioBytes zero bytes whose granule position is lastGranule.
struct OggShape {
    uint8_t channels = 2;
    uint32_t sampleRate = 44100;
    int32_t nominalBitRate = 128000;
    Bytes comments = VorbisComments("Test vendor", {});
    size_t commentPageBytes = 0;  // 0: the comment packet on one page
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

// MP4: a box of a 32-bit size (the content's plus 8 unless given), a type
// and the content; a large box stores size 1 and a 64-bit size (the
// content's plus 16 unless given).
Bytes Mp4Box(const std::string& type, const Bytes& content);
Bytes Mp4Box(const std::string& type, const Bytes& content, uint32_t size);
Bytes Mp4LargeBox(const std::string& type, const Bytes& content, uint64_t size);
Bytes Mp4LargeBox(const std::string& type, const Bytes& content);
// "esds" with a decoder configuration of objectType and bit rates holding an
// audio specific configuration.
Bytes Mp4Esds(uint8_t objectType, uint32_t maxBitRate, uint32_t avgBitRate, const Bytes& specificInfo);
// An item of the item list with one "data" box of the given value type.
Bytes Mp4Item(const std::string& type, uint32_t kind, const Bytes& value);
Bytes Mp4TextItem(const std::string& type, const std::string& utf8);

// A whole file: "ftyp", then "moov" (a movie header, one track whose media
// header, handler and first sample entry are given, the item list) and
// "mdat" in either order.
struct Mp4Shape {
    std::string handler = "soun";
    std::string format = "mp4a";
    uint16_t entryVersion = 0;
    uint16_t entryChannels = 2;
    uint32_t entryRate = 44100;
    Bytes entryChildren = Mp4Esds(0x40, 96000, 96000, {0x12, 0x10});  // AAC LC, 44100 Hz, 2 channels
    uint8_t headerVersion = 0;  // of both "mvhd" and "mdhd"
    uint32_t movieScale = 1000;
    uint64_t movieDuration = 10000;
    uint32_t mediaScale = 44100;
    uint64_t mediaDuration = 441000;
    std::vector<Bytes> items = {};  // no item list when empty
    bool plainMeta = false;         // "meta" without version and flags, as in older files
    size_t mediaBytes = 5000;
    bool movieFirst = true;
};
Bytes Mp4File(const Mp4Shape& shape);
// The parts of Mp4File, for files laid out by hand.
Bytes Mp4Ftyp();
Bytes Mp4Moov(const Mp4Shape& shape);

// ASF: an object of a GUID, a 64-bit size (the content's plus 24 unless
// given) and the content; a stream properties object of the audio type with
// a WAVEFORMATEX of 16-bit samples; the content description (title, author,
// copyright, description, no rating); descriptors of the extended content
// description and the object of some; UTF-16 with a zero unit.
Bytes AsfObject(const asf::Guid& id, const Bytes& content, uint64_t size = 0);
Bytes AsfAudioStream(uint16_t formatTag, uint16_t channels, uint32_t rate, uint32_t bytesPerSecond);
Bytes AsfContentDescription(const std::u16string& title, const std::u16string& author,
                            const std::u16string& copyright, const std::u16string& description);
Bytes AsfDescriptor(const std::u16string& name, uint16_t type, const Bytes& value);
Bytes AsfTextDescriptor(const std::u16string& name, const std::u16string& text);
Bytes AsfExtendedContent(const std::vector<Bytes>& descriptors);
Bytes AsfUtf16(const std::u16string& text);
// The header object holding objects, then a data object of dataBytes bytes.
Bytes AsfFile(const std::vector<Bytes>& objects, size_t dataBytes = 1000);

}  // namespace qel::test
