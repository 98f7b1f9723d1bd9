#pragma once
// The comment fields the Ogg analysers (Vorbis, Opus) keep from their
// comment packet, and how they reach the tag record.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "readers/TextForms.h"
#include "readers/virtualtag.h"

namespace qel {

// A field longer than this keeps only its first bytes.
constexpr size_t kOggCommentKeep = 250;

struct OggCommentTexts {
    std::string Title, Artist, Album;
    uint16_t Track = 0;  // 0..255
    std::string Date, Genre, Comment, Vendor;
};

// The packet's texts by name: the vendor text in slot 0, the nine recognised
// names in slots 1 to 9.
class OggCommentSlots {
public:
    // One text of the packet: a NAME=value field (the name in any case, the
    // value UTF-8) into its name's slot, a later one replacing an earlier
    // one; a text without "=" into slot 0 while that is empty, unconverted.
    // Blanks around the text and the value are dropped.
    void Store(std::string_view text);
    // ARTIST else PERFORMER, COMMENT else DESCRIPTION, the track's low 8 bits.
    OggCommentTexts Texts() const;

private:
    std::array<std::string, 10> slots_;
};

// Title2 ... Comment2, Track (decimal, "0" when none) and vendor.
template <class Texts>
void CopyOggCommentFields(const Texts& texts, Tinfotag& out) {
    out.Title2 = texts.Title;
    out.Artist2 = texts.Artist;
    out.Album2 = texts.Album;
    out.Year2 = texts.Date;
    out.Genre2 = texts.Genre;
    out.Comment2 = texts.Comment;
    out.Track = IntText(texts.Track);
    out.vendor = texts.Vendor;
}

}  // namespace qel
