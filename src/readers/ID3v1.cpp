#include "readers/ID3v1.h"

#include <iterator>

#include "readers/TagText.h"

namespace qel {

namespace {

const char* const kGenreNames[] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",  // 0
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap",                 // 8
    "Reggae", "Rock", "Techno", "Industrial", "Alternative", "Ska", "Death Metal",      // 16
    "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", // 23
    "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",           // 30
    "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space",     // 37
    "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",          // 45
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",    // 50
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap",            // 56
    "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic",      // 62
    "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz",        // 68
    "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock",       // 75
    "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic",     // 82
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progessive Rock", "Psychedelic Rock",    // 89
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",  // 94
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",      // 100
    "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango",       // 107
    "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle",        // 114
    "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa",   // 120
    "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie", "BritPop",              // 127
    "Afro-Punk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal",          // 133
    "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock",             // 138
    "Merengue", "Salsa", "Trash Metal", "Anime", "JPop", "Synthpop",                    // 142
};
static_assert(std::size(kGenreNames) == TID3v1::kGenreCount);

// The tag's fields: offset and width.
struct Field {
    size_t at, width;
};
constexpr Field kTitle{3, 30}, kArtist{33, 30}, kAlbum{63, 30}, kYear{93, 4}, kComment{97, 30};
constexpr size_t kV11CommentWidth = 28;  // version 1.1 keeps a zero byte and the track in the last two
constexpr size_t kTrackMarker = 125;
constexpr size_t kTrack = 126;
constexpr size_t kGenre = 127;

std::string FieldText(const uint8_t* tag, Field field) { return TrimmedField(tag + field.at, field.width); }

}  // namespace

std::string ID3v1GenreName(unsigned index) { return index < TID3v1::kGenreCount ? kGenreNames[index] : ""; }

TID3v1::TID3v1(FileOpener& files) : files_(&files) { ClearFields(); }

void TID3v1::ClearFields() {
    Present = false;
    Version = 1;
    Title.clear();
    Artist.clear();
    Album.clear();
    Year.clear();
    Comment.clear();
    Track = 0;
    GenreIndex = kNoGenre;
}

bool TID3v1::ReadTag(const std::string& fileName) {
    ClearFields();
    try {
        auto file = files_->OpenRead(fileName, ShareMode::AllowWriters);
        if (!file) return false;
        int64_t size = file->Size();
        if (size < static_cast<int64_t>(kTagSize)) return false;
        uint8_t scratch[kTagSize];
        const auto tag = file->View(size - static_cast<int64_t>(kTagSize), scratch);
        if (tag.size() < kTagSize) return false;
        ParseTag(tag.data());
    } catch (...) {
        ClearFields();
        return false;
    }
    return true;
}

void TID3v1::ParseTag(const uint8_t* tag) {
    if (tag[0] != 'T' || tag[1] != 'A' || tag[2] != 'G') return;
    Present = true;
    const bool v11 = (tag[kTrackMarker] == 0 && tag[kTrack] != 0) || (tag[kTrackMarker] == ' ' && tag[kTrack] != ' ');
    Version = v11 ? 2 : 1;
    Title = FieldText(tag, kTitle);
    Artist = FieldText(tag, kArtist);
    Album = FieldText(tag, kAlbum);
    Year = FieldText(tag, kYear);
    Comment = TrimmedField(tag + kComment.at, v11 ? kV11CommentWidth : kComment.width);
    Track = v11 ? tag[kTrack] : 0;
    GenreIndex = tag[kGenre];
}

std::string TID3v1::GenreName() const { return ID3v1GenreName(GenreIndex); }

}  // namespace qel
