#include "readers/APEtag.h"

#include <algorithm>
#include <cstring>

#include "readers/ByteOrder.h"
#include "readers/TagText.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

// Item keys by slot; slot 3 is the track number.
const std::array<const char*, TAPEtag::kItemCount> kItemKeys = {
    "Title", "Artist", "Album", "Track", "Year", "Genre", "Comment", "Copyright"};
constexpr size_t kTrackSlot = 3;

constexpr int64_t kID3v1Size = 128;
constexpr int64_t kItemHeaderSize = 8;  // value size and item flags
constexpr size_t kItemValueSize = 0;

// The footer's fields, little-endian.
constexpr size_t kFooterMark = 0;
constexpr size_t kFooterVersion = 8;
constexpr size_t kFooterTagSize = 12;
constexpr size_t kFooterItemCount = 16;
// Longer keys match no slot; the rest of such a key is skipped, not kept.
constexpr size_t kKeyCap = 255;

bool SameKey(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Reads at `position` up to `limit`, the key's terminating zero included.
// Gives the position behind the zero, or -1 when no zero comes before `limit`.
int64_t ReadKey(BinaryFile& file, int64_t position, int64_t limit, std::string& key) {
    char chunk[64];
    if (!file.Seek(position)) return -1;
    while (position < limit) {
        size_t want = static_cast<size_t>(std::min<int64_t>(sizeof chunk, limit - position));
        size_t got = file.Read(chunk, want);
        if (got == 0) return -1;
        const char* zero = static_cast<const char*>(std::memchr(chunk, 0, got));
        size_t used = zero ? static_cast<size_t>(zero - chunk) : got;
        key.append(chunk, std::min(used, kKeyCap - std::min(kKeyCap, key.size())));
        if (zero) return position + static_cast<int64_t>(used) + 1;
        position += static_cast<int64_t>(got);
    }
    return -1;
}

}  // namespace

TAPEtag::TAPEtag(FileOpener& files) : Ttag(files) { ClearFields(); }

void TAPEtag::ResetFields() {
    Present = false;
    Version = 0;
    TagSize = 0;
    Track = 0;
    for (std::string* text : {&Title, &Artist, &Album, &Year, &Genre, &Comment, &Copyright}) text->clear();
}

bool TAPEtag::ReadFields(const std::string& fileName) {
    try {
        auto file = files().OpenRead(fileName, ShareMode::AllowWriters);
        if (!file) return false;
        const int64_t size = file->Size();
        if (size < kID3v1Size) return false;
        char id3[3];
        if (!ReadAt(*file, size - kID3v1Size, id3, sizeof id3)) return false;
        const int64_t shift = std::memcmp(id3, "TAG", 3) == 0 ? kID3v1Size : 0;
        const int64_t areaEnd = size - shift;
        uint8_t footer[kFooterSize];
        if (!ReadAt(*file, areaEnd - static_cast<int64_t>(kFooterSize), footer, kFooterSize)) return false;
        if (std::memcmp(footer + kFooterMark, "APETAGEX", 8) != 0) return true;

        Present = true;
        Version = static_cast<int32_t>(LoadLE32(footer + kFooterVersion));
        TagSize = static_cast<int32_t>(LoadLE32(footer + kFooterTagSize));
        const auto count = static_cast<int32_t>(LoadLE32(footer + kFooterItemCount));

        Slots slots;
        ReadItems(*file, areaEnd, count, slots);
        Title = slots[0];
        Artist = slots[1];
        Album = slots[2];
        Track = static_cast<uint8_t>(TrackFromText(slots[kTrackSlot]));
        Year = slots[4];
        Genre = slots[5];
        Comment = slots[6];
        Copyright = slots[7];
        return true;
    } catch (...) {
        ClearFields();
        return false;
    }
}

// The items lie between the start of the tag (the end of the tag area less
// the tag size) and the footer. Nothing outside that range is read: a tag
// size that reaches before the file or into the footer gives no items, the
// walk ends at the first item that does not fit, and a value is cut where
// the items end. Each item takes at least 9 bytes, so a huge item count
// cannot make the walk run longer than the tag is.
void TAPEtag::ReadItems(BinaryFile& file, int64_t areaEnd, int32_t count, Slots& slots) const {
    const int64_t itemsEnd = areaEnd - static_cast<int64_t>(kFooterSize);
    int64_t position = areaEnd - TagSize;
    if (position < 0) return;
    for (int32_t i = 0; i < count; ++i) {
        if (position + kItemHeaderSize >= itemsEnd) return;
        uint8_t header[kItemHeaderSize];
        if (!ReadAt(file, position, header, sizeof header)) return;
        const auto valueSize = static_cast<int32_t>(LoadLE32(header + kItemValueSize));
        if (valueSize < 0) return;  // no item is that long: the rest is not a list of items

        std::string key;
        const int64_t valueStart = ReadKey(file, position + kItemHeaderSize, itemsEnd, key);
        if (valueStart < 0) return;

        const auto length = static_cast<size_t>(
            std::min<int64_t>({valueSize, static_cast<int64_t>(kValueCap), itemsEnd - valueStart}));
        char value[kValueCap];
        if (!ReadAt(file, valueStart, value, length)) return;

        key = TrimBoth(key);
        for (size_t slot = 0; slot < kItemCount; ++slot) {
            if (!SameKey(key, kItemKeys[slot])) continue;
            std::string text = TrimBoth(std::string_view(value, length));
            slots[slot] = Version > 1000 ? Utf8ToWide(text) : text;
        }
        position = valueStart + valueSize;
    }
}

bool TAPEtag::Open(const std::string& fileName) {
    ReadInfo(fileName);
    return Present;
}

void TAPEtag::FillSoundInfo(Tinfosound&) {}

void TAPEtag::FillTagInfo(Tinfotag& out) {
    InfoTag.Titlea = Title;
    InfoTag.Artista = Artist;
    InfoTag.Albuma = Album;
    InfoTag.Tracka = IntText(Track);
    InfoTag.Yeara = Year;
    InfoTag.Genrea = Genre;
    InfoTag.Commenta = Comment;
    InfoTag.Copyrighta = Copyright;
    out = InfoTag;
}

std::string TAPEtag::ArtistTitle(const std::string&) { return {}; }

void MergeApeFields(TAPEtag& tag, Tinfotag& out) {
    if (!tag.Present) return;
    Tinfotag ape;
    tag.FillTagInfo(ape);
    for (auto field : {&Tinfotag::Titlea, &Tinfotag::Artista, &Tinfotag::Albuma, &Tinfotag::Tracka, &Tinfotag::Yeara,
                       &Tinfotag::Genrea, &Tinfotag::Commenta, &Tinfotag::Copyrighta})
        out.*field = ape.*field;
}

}  // namespace qel
