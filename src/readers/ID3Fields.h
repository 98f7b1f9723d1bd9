#pragma once
// How the analysers that own ID3 readers hand their texts to the tag record.
#include <string>

#include "readers/ID3v1.h"
#include "readers/ID3v2.h"
#include "readers/virtualtag.h"

namespace qel {

// Title1 ... Genre1 and Track from a present ID3v1 tag.
void CopyID3v1Fields(const TID3v1& tag, Tinfotag& out);
// Title2 ... Link2 and Track (replacing the ID3v1 number) from a present ID3v2 tag.
void CopyID3v2Fields(const TID3v2& tag, Tinfotag& out);

// The texts that ID3v2 tags and MP4 item lists name alike, into Title2 ...
// Copyright2.
template <class Tag>
void CopyCommonTag2Fields(const Tag& tag, Tinfotag& out) {
    out.Title2 = tag.Title;
    out.Artist2 = tag.Artist;
    out.Album2 = tag.Album;
    out.Year2 = tag.Year;
    out.Genre2 = tag.Genre;
    out.Comment2 = tag.Comment;
    out.Composer2 = tag.Composer;
    out.Encoder2 = tag.Encoder;
    out.Copyright2 = tag.Copyright;
}

// The usual display title: artist, " - ", title.
std::string ArtistDashTitle(const std::string& artist, const std::string& title);

}  // namespace qel
