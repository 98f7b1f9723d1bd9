#pragma once
// Byte builders for synthetic ID3 tags.
#include <cstdint>
#include <string>

#include "support/TestFiles.h"

namespace qel::test {

// A 128-byte tag; comment takes up to 30 bytes (bytes 28 and 29 decide 1.0 or 1.1).
struct ID3v1Fields {
    std::string title, artist, album, year, comment;
    uint8_t genre = 255;
};
Bytes ID3v1Tag(const ID3v1Fields& fields);

// Frame contents.
std::string Latin1Text(const std::string& text);                         // encoding 0
std::string Utf16Text(const std::u16string& text, bool byteOrderMark);  // encoding 1, little-endian, zero-ended

// A tag of version 2, 3 or 4 built frame by frame.
class ID3v2Builder {
public:
    explicit ID3v2Builder(uint8_t version, uint8_t flags = 0) : version_(version), flags_(flags) {}
    // Version 4 sizes are synchsafe unless plainSize; flag2 is the second flag byte.
    ID3v2Builder& Frame(const std::string& id, const std::string& content, uint8_t flag2 = 0, bool plainSize = false);
    ID3v2Builder& Padding(size_t count);
    ID3v2Builder& Raw(const Bytes& bytes);  // anything inside the tag body
    // The whole tag; the header's size field counts the body (plus sizeDelta).
    Bytes Build(int64_t sizeDelta = 0) const;

private:
    uint8_t version_, flags_;
    Bytes body_;
};

// The header's 4-byte size field: 7 bits in each byte.
void AppendSynchsafe(Bytes& out, uint32_t value);

}  // namespace qel::test
