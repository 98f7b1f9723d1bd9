#include "readers/ID3Fields.h"

#include "readers/TextForms.h"

namespace qel {

void CopyID3v1Fields(const TID3v1& tag, Tinfotag& out) {
    if (!tag.Present) return;
    out.Title1 = tag.Title;
    out.Artist1 = tag.Artist;
    out.Album1 = tag.Album;
    out.Year1 = tag.Year;
    out.Comment1 = tag.Comment;
    out.Track = IntText(tag.Track);
    out.Genre1 = tag.GenreName();
}

void CopyID3v2Fields(const TID3v2& tag, Tinfotag& out) {
    if (!tag.Present) return;
    out.Title2 = tag.Title;
    out.Artist2 = tag.Artist;
    out.Album2 = tag.Album;
    out.Track = IntText(tag.Track);
    out.Tracktext2 = tag.TrackText;
    out.Year2 = tag.Year;
    out.Genre2 = tag.Genre;
    out.Comment2 = tag.Comment;
    out.Composer2 = tag.Composer;
    out.Encoder2 = tag.Encoder;
    out.Copyright2 = tag.Copyright;
    out.Language2 = tag.Language;
    out.Link2 = tag.Link;
}

std::string ArtistDashTitle(const std::string& artist, const std::string& title) {
    return artist + " - " + title;
}

}  // namespace qel
