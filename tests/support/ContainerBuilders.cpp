#include "support/ContainerBuilders.h"

#include <algorithm>

namespace qel::test {

Bytes VorbisComments(const std::string& vendor, const std::vector<std::string>& fields, uint32_t count) {
    Bytes out;
    AppendLE32(out, static_cast<uint32_t>(vendor.size()));
    Append(out, vendor);
    AppendLE32(out, count);
    for (const auto& field : fields) {
        AppendLE32(out, static_cast<uint32_t>(field.size()));
        Append(out, field);
    }
    return out;
}

Bytes VorbisComments(const std::string& vendor, const std::vector<std::string>& fields) {
    return VorbisComments(vendor, fields, static_cast<uint32_t>(fields.size()));
}

Bytes OggPage(const Bytes& packet, int64_t granule, uint32_t sequence) {
    Bytes out;
    Append(out, "OggS");
    out.push_back(0);  // version
    out.push_back(0);  // flags
    AppendLE32(out, static_cast<uint32_t>(granule));
    AppendLE32(out, static_cast<uint32_t>(static_cast<uint64_t>(granule) >> 32));
    AppendLE32(out, 0x1234);  // serial
    AppendLE32(out, sequence);
    AppendLE32(out, 0);  // checksum, not checked by the reader
    const size_t segments = packet.size() / 255 + 1;
    out.push_back(static_cast<uint8_t>(segments));
    for (size_t i = 0; i + 1 < segments; ++i) out.push_back(255);
    out.push_back(static_cast<uint8_t>(packet.size() % 255));
    out.insert(out.end(), packet.begin(), packet.end());
    return out;
}

Bytes VorbisIdentPacket(uint8_t channels, uint32_t sampleRate, int32_t nominalBitRate) {
    Bytes out{0x01};
    Append(out, "vorbis");
    AppendLE32(out, 0);
    out.push_back(channels);
    AppendLE32(out, sampleRate);
    AppendLE32(out, 0);
    AppendLE32(out, static_cast<uint32_t>(nominalBitRate));
    AppendLE32(out, 0);
    out.push_back(0xB8);
    out.push_back(1);
    return out;
}

Bytes VorbisCommentPacket(const Bytes& comments) {
    Bytes out{0x03};
    Append(out, "vorbis");
    out.insert(out.end(), comments.begin(), comments.end());
    out.push_back(1);
    return out;
}

Bytes OggVorbisFile(const OggShape& shape) {
    Bytes out = OggPage(VorbisIdentPacket(shape.channels, shape.sampleRate, shape.nominalBitRate), 0, 0);
    const Bytes second = OggPage(VorbisCommentPacket(shape.comments), 0, 1);
    out.insert(out.end(), second.begin(), second.end());
    const Bytes audio = OggPage(Bytes(shape.audioBytes, 0), shape.lastGranule, 2);
    out.insert(out.end(), audio.begin(), audio.end());
    return out;
}

Bytes FlacStart(const FlacShape& shape) {
    Bytes out;
    Append(out, "fLaC");
    out.push_back(shape.streamInfoIsLast ? 0x80 : 0x00);
    out.push_back(0);
    out.push_back(0);
    out.push_back(34);
    AppendBE16(out, 4096);
    AppendBE16(out, 4096);
    AppendZeros(out, 6);  // frame sizes
    const uint32_t rate = shape.sampleRate & 0xFFFFF;
    const uint32_t channels = (shape.channels - 1u) & 7;
    const uint32_t bits = (shape.bitsPerSample - 1u) & 31;
    out.push_back(static_cast<uint8_t>(rate >> 12));
    out.push_back(static_cast<uint8_t>(rate >> 4));
    out.push_back(static_cast<uint8_t>((rate & 0xF) << 4 | channels << 1 | bits >> 4));
    out.push_back(static_cast<uint8_t>((bits & 0xF) << 4 | ((shape.totalSamples >> 32) & 0xF)));
    AppendBE32(out, static_cast<uint32_t>(shape.totalSamples));
    AppendZeros(out, 16);  // signature
    return out;
}

Bytes FlacBlock(uint8_t type, bool last, const Bytes& body, uint32_t length) {
    Bytes out(4 + body.size());
    out[0] = static_cast<uint8_t>((last ? 0x80 : 0) | (type & 0x7F));
    out[1] = static_cast<uint8_t>(length >> 16);
    out[2] = static_cast<uint8_t>(length >> 8);
    out[3] = static_cast<uint8_t>(length);
    std::copy(body.begin(), body.end(), out.begin() + 4);
    return out;
}

Bytes FlacBlock(uint8_t type, bool last, const Bytes& body) {
    return FlacBlock(type, last, body, static_cast<uint32_t>(body.size()));
}

Bytes TwinVQHeader(const TwinVQShape& shape) {
    Bytes out;
    Append(out, "TWIN97012000");
    AppendBE32(out, shape.headerSize);
    Append(out, "COMM");
    AppendBE32(out, 16);  // the four numbers below
    AppendBE32(out, shape.channelMode);
    AppendBE32(out, shape.bitRate);
    AppendBE32(out, shape.sampleRateCode);
    AppendBE32(out, 0);  // security level
    return out;
}

Bytes TwinVQChunk(const std::string& id, const std::string& text, uint32_t size) {
    Bytes out;
    Append(out, id);
    AppendBE32(out, size);
    Append(out, text);
    return out;
}

Bytes TwinVQChunk(const std::string& id, const std::string& text) {
    return TwinVQChunk(id, text, static_cast<uint32_t>(text.size()));
}

Bytes CdaTrack(uint16_t track, uint32_t discId, uint32_t startFrames, uint32_t lengthFrames) {
    Bytes out;
    Append(out, "RIFF");
    AppendLE32(out, 36);
    Append(out, "CDDAfmt ");
    AppendLE32(out, 24);
    AppendLE16(out, 1);  // format version
    AppendLE16(out, track);
    AppendLE32(out, discId);
    AppendLE32(out, startFrames);
    AppendLE32(out, lengthFrames);
    AppendZeros(out, 8);  // start and length as minutes, seconds, frames
    return out;
}

}  // namespace qel::test
