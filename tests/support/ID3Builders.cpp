#include "support/ID3Builders.h"

#include <algorithm>

namespace qel::test {

namespace {

void AppendField(Bytes& out, const std::string& text, size_t width) {
    const size_t n = std::min(text.size(), width);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
    AppendZeros(out, width - n);
}

}  // namespace

Bytes ID3v1Tag(const ID3v1Fields& fields) {
    Bytes tag;
    Append(tag, "TAG");
    AppendField(tag, fields.title, 30);
    AppendField(tag, fields.artist, 30);
    AppendField(tag, fields.album, 30);
    AppendField(tag, fields.year, 4);
    AppendField(tag, fields.comment, 30);
    tag.push_back(fields.genre);
    return tag;
}

std::string Latin1Text(const std::string& text) { return std::string(1, '\0') + text; }

std::string Utf16Text(const std::u16string& text, bool byteOrderMark) {
    std::string out(1, '\1');
    if (byteOrderMark) out += "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    out += std::string(2, '\0');
    return out;
}

void AppendSynchsafe(Bytes& out, uint32_t value) {
    for (int shift = 21; shift >= 0; shift -= 7) out.push_back((value >> shift) & 0x7F);
}

ID3v2Builder& ID3v2Builder::Frame(const std::string& id, const std::string& content, uint8_t flag2, bool plainSize) {
    Append(body_, id);
    const auto size = static_cast<uint32_t>(content.size());
    if (version_ == 2) {
        body_.push_back((size >> 16) & 0xFF);
        AppendBE16(body_, size & 0xFFFF);
    } else {
        if (version_ == 4 && !plainSize) AppendSynchsafe(body_, size);
        else AppendBE32(body_, size);
        body_.push_back(0);
        body_.push_back(flag2);
    }
    Append(body_, content);
    return *this;
}

ID3v2Builder& ID3v2Builder::Padding(size_t count) {
    AppendZeros(body_, count);
    return *this;
}

ID3v2Builder& ID3v2Builder::Raw(const Bytes& bytes) {
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes ID3v2Builder::Build(int64_t sizeDelta) const {
    Bytes tag;
    Append(tag, "ID3");
    tag.push_back(version_);
    tag.push_back(0);
    tag.push_back(flags_);
    AppendSynchsafe(tag, static_cast<uint32_t>(static_cast<int64_t>(body_.size()) + sizeDelta));
    tag.insert(tag.end(), body_.begin(), body_.end());
    return tag;
}

}  // namespace qel::test
