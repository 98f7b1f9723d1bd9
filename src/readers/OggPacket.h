#pragma once
// One packet of an Ogg stream, read across the pages that carry it, and the
// comment packet of the Ogg codecs (Vorbis, Opus) walked field by field.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "platform/BinaryFile.h"

namespace qel {

// The packet that begins the data of a page, followed over the pages of its
// stream: each page's header and segment table tell how many of its bytes
// belong to the packet and whether it goes on. Bytes can be skipped without
// being read. The walk is bounded: the packet ends after kMaxBytes bytes or
// kMaxPages pages, as it does at the end of the file, at a page without the
// "OggS" marker, or at one that does not continue it.
class OggPacketReader {
public:
    static constexpr uint64_t kMaxBytes = uint64_t{16} << 20;
    // Enough for kMaxBytes in the smallest pages taggers write (about 4 KB).
    static constexpr int kMaxPages = 8192;

    // The packet that begins the data of the page whose header is at
    // pageStart. That page's marker is not checked: the caller has its own
    // rule for the page it starts from.
    OggPacketReader(BinaryFile& file, int64_t pageStart);

    // Up to count bytes of the packet into out; fewer at its end. Returns how many came.
    size_t Read(void* out, size_t count);
    // Passes over count bytes of the packet; false when it ended first.
    bool Skip(uint64_t count);
    // Passes over the rest of the packet and gives the file position behind
    // the last page that carries it: where the page of the next packet begins.
    int64_t End();

private:
    // Takes the page whose header (head) is at start: the run of packet bytes it holds.
    void TakePage(int64_t start, const uint8_t* head);
    // Moves to the page that continues the packet; false when there is none.
    bool NextPage();
    // Bytes available now: in this page's run, within the byte bound.
    uint64_t Available();

    BinaryFile& file_;
    uint32_t serial_ = 0;
    int64_t run_ = 0;          // file position of the packet's next byte
    uint64_t runLeft_ = 0;     // packet bytes left on this page
    bool continues_ = false;   // the packet goes on after this page's run
    bool ended_ = false;       // no further page is looked at
    int64_t nextPage_ = 0;     // where the page after this one begins
    int pages_ = 1;
    uint64_t taken_ = 0;       // packet bytes read or skipped so far
};

// The comment packet of an Ogg codec: magic (Vorbis "\x03vorbis", Opus
// "OpusTags"), the vendor text, a field count and that many fields, each a
// 32-bit little-endian length and its bytes. Calls field with the vendor text
// and then with each field, at most keep bytes of each; the rest of a longer
// one (a picture, for example) is skipped unread. The walk ends with the
// packet, whatever the count says. False when the packet does not begin with
// magic; nothing is then called.
bool WalkCommentPacket(OggPacketReader& packet, std::span<const uint8_t> magic, size_t keep,
                       const std::function<void(std::string_view text)>& field);

}  // namespace qel
