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
    CopyCommonTag2Fields(tag, out);
    out.Track = IntText(tag.Track);
    out.Tracktext2 = tag.TrackText;
    out.Language2 = tag.Language;
    out.Link2 = tag.Link;
}

std::string ArtistDashTitle(const std::string& artist, const std::string& title) {
    return artist + " - " + title;
}

}  // namespace qel
