#include "readers/OggComments.h"

#include "readers/TagText.h"

namespace qel {
namespace {

constexpr size_t kVendorSlot = 0;

struct CommentName {
    const char* name;
    size_t slot;
};
constexpr std::array<CommentName, 9> kCommentNames = {{
    {"TITLE", 1},
    {"ARTIST", 2},
    {"ALBUM", 3},
    {"TRACKNUMBER", 4},
    {"DATE", 5},
    {"GENRE", 6},
    {"COMMENT", 7},
    {"PERFORMER", 8},
    {"DESCRIPTION", 9},
}};

}  // namespace

void OggCommentSlots::Store(std::string_view untrimmed) {
    const std::string_view text = TrimmedView(untrimmed);
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        if (slots_[kVendorSlot].empty()) slots_[kVendorSlot] = text;
        return;
    }
    const std::string key = AsciiUpper(text.substr(0, equals));
    for (const auto& name : kCommentNames) {
        if (key == name.name) {
            slots_[name.slot] = Utf8ToWide(TrimmedView(text.substr(equals + 1)));
            return;
        }
    }
}

OggCommentTexts OggCommentSlots::Texts() const {
    OggCommentTexts texts;
    texts.Title = slots_[1];
    texts.Artist = !slots_[2].empty() ? slots_[2] : slots_[8];
    texts.Album = slots_[3];
    texts.Track = static_cast<uint8_t>(TrackFromText(slots_[4]));
    texts.Date = slots_[5];
    texts.Genre = slots_[6];
    texts.Comment = !slots_[7].empty() ? slots_[7] : slots_[9];
    texts.Vendor = slots_[kVendorSlot];
    return texts;
}

}  // namespace qel
