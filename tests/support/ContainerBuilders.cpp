#include "support/ContainerBuilders.h"

#include <algorithm>
#include <initializer_list>

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

Bytes OggPages(const Bytes& packet, size_t pageBytes, uint32_t sequence, uint32_t serial) {
    Bytes out;
    size_t at = 0;
    do {
        const size_t size = std::min(pageBytes, packet.size() - at);
        Bytes page = OggPage(Bytes(packet.begin() + at, packet.begin() + at + size), 0, sequence++);
        if (at + size < packet.size()) {  // the packet goes on: no closing lacing value
            page.erase(page.begin() + 27 + page[26] - 1);
            page[26]--;
        }
        if (at > 0) page[5] = 1;  // continued packet
        for (int i = 0; i < 4; ++i) page[14 + i] = static_cast<uint8_t>(serial >> 8 * i);
        out.insert(out.end(), page.begin(), page.end());
        at += size;
    } while (at < packet.size());
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
    const Bytes packet = VorbisCommentPacket(shape.comments);
    const Bytes second = shape.commentPageBytes ? OggPages(packet, shape.commentPageBytes, 1) : OggPage(packet, 0, 1);
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

namespace qel::test {

Bytes Mp4Box(const std::string& type, const Bytes& content, uint32_t size) {
    Bytes out;
    AppendBE32(out, size);
    Append(out, type);
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

Bytes Mp4Box(const std::string& type, const Bytes& content) {
    return Mp4Box(type, content, static_cast<uint32_t>(content.size() + 8));
}

Bytes Mp4LargeBox(const std::string& type, const Bytes& content, uint64_t size) {
    Bytes out = Mp4Box(type, {}, 1);
    AppendBE32(out, static_cast<uint32_t>(size >> 32));
    AppendBE32(out, static_cast<uint32_t>(size));
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

Bytes Mp4LargeBox(const std::string& type, const Bytes& content) {
    return Mp4LargeBox(type, content, content.size() + 16);
}

namespace {

// A descriptor with a 4-byte length, as common writers store it.
Bytes Descriptor(uint8_t tag, const Bytes& body) {
    Bytes out(5 + body.size(), 0x80);
    out[0] = tag;
    out[4] = static_cast<uint8_t>(body.size());
    std::copy(body.begin(), body.end(), out.begin() + 5);
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// "mvhd" and "mdhd": version, flags, times, time scale, duration, then the rest zero.
Bytes TimeHeader(const std::string& type, uint8_t version, uint32_t scale, uint64_t duration, size_t rest) {
    Bytes body{version, 0, 0, 0};
    AppendZeros(body, version == 1 ? 16 : 8);
    AppendBE32(body, scale);
    if (version == 1) AppendBE32(body, static_cast<uint32_t>(duration >> 32));
    AppendBE32(body, static_cast<uint32_t>(duration));
    AppendZeros(body, rest);
    return Mp4Box(type, body);
}

}  // namespace

Bytes Mp4Esds(uint8_t objectType, uint32_t maxBitRate, uint32_t avgBitRate, const Bytes& specificInfo) {
    Bytes config{objectType, 0x15, 0, 0, 0};  // audio stream, buffer size
    AppendBE32(config, maxBitRate);
    AppendBE32(config, avgBitRate);
    config = Concat({config, Descriptor(5, specificInfo)});
    const Bytes es = Concat({Bytes{0, 1, 0}, Descriptor(4, config), Descriptor(6, {2})});
    return Mp4Box("esds", Concat({Bytes(4, 0), Descriptor(3, es)}));
}

Bytes Mp4Item(const std::string& type, uint32_t kind, const Bytes& value) {
    Bytes data;
    AppendBE32(data, kind);
    AppendBE32(data, 0);  // locale
    data.insert(data.end(), value.begin(), value.end());
    return Mp4Box(type, Mp4Box("data", data));
}

Bytes Mp4TextItem(const std::string& type, const std::string& utf8) {
    return Mp4Item(type, 1, Bytes(utf8.begin(), utf8.end()));
}

Bytes Mp4Ftyp() {
    Bytes brands;
    Append(brands, "M4A ");
    AppendBE32(brands, 0x200);
    Append(brands, "M4A isom");
    return Mp4Box("ftyp", brands);
}

Bytes Mp4Moov(const Mp4Shape& shape) {
    Bytes entry(6, 0);
    AppendBE16(entry, 1);  // data reference index
    AppendBE16(entry, shape.entryVersion);
    AppendZeros(entry, 6);
    AppendBE16(entry, shape.entryChannels);
    AppendBE16(entry, 16);
    AppendZeros(entry, 4);
    AppendBE32(entry, shape.entryRate << 16);
    if (shape.entryVersion == 1) AppendZeros(entry, 16);
    entry.insert(entry.end(), shape.entryChildren.begin(), shape.entryChildren.end());
    Bytes stsd{0, 0, 0, 0};
    AppendBE32(stsd, 1);
    stsd = Concat({stsd, Mp4Box(shape.format, entry)});
    Bytes handler(8, 0);
    Append(handler, shape.handler);
    AppendZeros(handler, 13);
    const Bytes minf = Mp4Box("minf", Concat({Mp4Box("smhd", Bytes(8, 0)),
                                              Mp4Box("stbl", Concat({Mp4Box("stsd", stsd), Mp4Box("stts", Bytes(8, 0))}))}));
    const Bytes mdia = Mp4Box("mdia", Concat({TimeHeader("mdhd", shape.headerVersion, shape.mediaScale, shape.mediaDuration, 4),
                                              Mp4Box("hdlr", handler), minf}));
    Bytes moov = Concat({TimeHeader("mvhd", shape.headerVersion, shape.movieScale, shape.movieDuration, 80),
                         Mp4Box("trak", Concat({Mp4Box("tkhd", Bytes(84, 0)), mdia}))});
    if (!shape.items.empty()) {
        Bytes list;
        for (const auto& item : shape.items) list = Concat({list, item});
        Bytes metaHandler(8, 0);
        Append(metaHandler, "mdirappl");
        AppendZeros(metaHandler, 9);
        const Bytes meta = Mp4Box("meta", Concat({Bytes(shape.plainMeta ? 0 : 4, 0), Mp4Box("hdlr", metaHandler),
                                                  Mp4Box("ilst", list)}));
        moov = Concat({moov, Mp4Box("udta", meta)});
    }
    return Mp4Box("moov", moov);
}

Bytes Mp4File(const Mp4Shape& shape) {
    const Bytes moov = Mp4Moov(shape);
    const Bytes mdat = Mp4Box("mdat", Bytes(shape.mediaBytes, 0x5A));
    return shape.movieFirst ? Concat({Mp4Ftyp(), moov, mdat}) : Concat({Mp4Ftyp(), mdat, moov});
}

Bytes AsfObject(const asf::Guid& id, const Bytes& content, uint64_t size) {
    Bytes out(id.begin(), id.end());
    if (size == 0) size = content.size() + asf::kObjectHeaderSize;
    AppendLE32(out, static_cast<uint32_t>(size));
    AppendLE32(out, static_cast<uint32_t>(size >> 32));
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

Bytes AsfAudioStream(uint16_t formatTag, uint16_t channels, uint32_t rate, uint32_t bytesPerSecond) {
    Bytes out(asf::kAudioMedia.begin(), asf::kAudioMedia.end());
    AppendZeros(out, 16 + 8);  // error correction type, time offset
    AppendLE32(out, 18);       // a WAVEFORMATEX without extra bytes
    AppendZeros(out, 4 + 2 + 4);
    for (uint32_t field : {uint32_t{formatTag}, uint32_t{channels}}) AppendLE16(out, field);
    for (uint32_t field : {rate, bytesPerSecond}) AppendLE32(out, field);
    for (uint32_t field : {1487u, 16u, 0u}) AppendLE16(out, field);  // block alignment, bits, extra bytes
    return AsfObject(asf::kStreamProperties, out);
}

Bytes AsfUtf16(const std::u16string& text) {
    Bytes out;
    for (char16_t unit : text) AppendLE16(out, unit);
    AppendLE16(out, 0);
    return out;
}

Bytes AsfContentDescription(const std::u16string& title, const std::u16string& author,
                            const std::u16string& copyright, const std::u16string& description) {
    Bytes out, texts;
    for (const auto* text : {&title, &author, &copyright, &description}) {
        const Bytes bytes = AsfUtf16(*text);
        AppendLE16(out, static_cast<uint32_t>(bytes.size()));
        texts.insert(texts.end(), bytes.begin(), bytes.end());
    }
    AppendLE16(out, 0);  // rating
    out.insert(out.end(), texts.begin(), texts.end());
    return AsfObject(asf::kContentDescription, out);
}

Bytes AsfDescriptor(const std::u16string& name, uint16_t type, const Bytes& value) {
    const Bytes nameBytes = AsfUtf16(name);
    Bytes out;
    AppendLE16(out, static_cast<uint32_t>(nameBytes.size()));
    out.insert(out.end(), nameBytes.begin(), nameBytes.end());
    AppendLE16(out, type);
    AppendLE16(out, static_cast<uint32_t>(value.size()));
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

Bytes AsfTextDescriptor(const std::u16string& name, const std::u16string& text) {
    return AsfDescriptor(name, asf::kUnicode, AsfUtf16(text));
}

Bytes AsfExtendedContent(const std::vector<Bytes>& descriptors) {
    Bytes out;
    AppendLE16(out, static_cast<uint32_t>(descriptors.size()));
    for (const auto& d : descriptors) out.insert(out.end(), d.begin(), d.end());
    return AsfObject(asf::kExtendedContentDescription, out);
}

Bytes AsfFile(const std::vector<Bytes>& objects, size_t dataBytes) {
    Bytes inner;
    AppendLE32(inner, static_cast<uint32_t>(objects.size()));
    inner.push_back(1);
    inner.push_back(2);
    for (const auto& o : objects) inner.insert(inner.end(), o.begin(), o.end());
    Bytes out = AsfObject(asf::kHeaderObject, inner);
    const Bytes data = AsfObject(asf::kDataObject, Bytes(dataBytes, 0x82));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace qel::test
