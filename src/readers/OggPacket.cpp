#include "readers/OggPacket.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"

namespace qel {
namespace {

// Page header: 27 fixed bytes, then a segment table of up to 255 lacing values.
constexpr size_t kPageFixedSize = 27;
constexpr size_t kPageHeadSize = kPageFixedSize + 255;
constexpr size_t kHeaderTypeOffset = 5;
constexpr size_t kSerialOffset = 14;
constexpr size_t kSegmentCountOffset = 26;
constexpr uint8_t kContinuedFlag = 0x01;  // the page's first bytes continue a packet
constexpr char kPageMarker[] = "OggS";
constexpr size_t kLengthSize = 4;
constexpr size_t kLongestMagic = 16;

// Where the page whose header is at start ends: behind its header, segment
// table and the bytes its lacing values count.
int64_t PageEnd(int64_t start, const uint8_t* head) {
    const uint8_t segments = head[kSegmentCountOffset];
    int64_t end = start + static_cast<int64_t>(kPageFixedSize + segments);
    for (size_t i = 0; i < segments; ++i) end += head[kPageFixedSize + i];
    return end;
}

}  // namespace

OggPacketReader::OggPacketReader(BinaryFile& file, int64_t pageStart) : file_(file) {
    uint8_t head[kPageHeadSize];
    ReadZeroFilled(file_, pageStart, head, sizeof head);  // a cut header reads as zero bytes
    serial_ = LoadLE32(head + kSerialOffset);
    TakePage(pageStart, head);
}

// The packet's run on a page: lacing values up to and including the first
// below 255, which ends the packet; when all are 255 it goes on.
void OggPacketReader::TakePage(int64_t start, const uint8_t* head) {
    const uint8_t segments = head[kSegmentCountOffset];
    const uint8_t* lacing = head + kPageFixedSize;
    size_t last = 0;
    uint64_t run = 0;
    while (last < segments && lacing[last] == 255) run += lacing[last++];
    continues_ = last == segments;
    if (!continues_) run += lacing[last];
    run_ = start + static_cast<int64_t>(kPageFixedSize + segments);
    runLeft_ = run;
    nextPage_ = PageEnd(start, head);
}

bool OggPacketReader::NextPage() {
    while (continues_ && !ended_ && pages_ < kMaxPages) {
        uint8_t head[kPageHeadSize];
        const size_t got = ReadZeroFilled(file_, nextPage_, head, sizeof head);
        ++pages_;
        if (got < kPageFixedSize || std::memcmp(head, kPageMarker, 4) != 0) break;
        if (LoadLE32(head + kSerialOffset) != serial_) {
            nextPage_ = PageEnd(nextPage_, head);  // a page of another stream of the file
            continue;
        }
        if ((head[kHeaderTypeOffset] & kContinuedFlag) == 0) break;
        TakePage(nextPage_, head);
        return true;
    }
    ended_ = true;
    runLeft_ = 0;
    return false;
}

uint64_t OggPacketReader::Available() {
    if (taken_ >= kMaxBytes) return 0;
    while (runLeft_ == 0 && NextPage()) {
    }
    return std::min(runLeft_, kMaxBytes - taken_);
}

size_t OggPacketReader::Read(void* out, size_t count) {
    size_t done = 0;
    while (done < count) {
        const uint64_t here = std::min<uint64_t>(Available(), count - done);
        if (here == 0) break;
        const size_t got = file_.Seek(run_) ? file_.Read(static_cast<char*>(out) + done, static_cast<size_t>(here)) : 0;
        run_ += static_cast<int64_t>(got);
        runLeft_ -= got;
        taken_ += got;
        done += got;
        if (got < here) {  // the file ends inside the packet
            ended_ = true;
            runLeft_ = 0;
            break;
        }
    }
    return done;
}

bool OggPacketReader::Skip(uint64_t count) {
    while (count > 0) {
        const uint64_t here = std::min(Available(), count);
        if (here == 0) return false;
        run_ += static_cast<int64_t>(here);
        runLeft_ -= here;
        taken_ += here;
        count -= here;
    }
    return true;
}

int64_t OggPacketReader::End() {
    Skip(kMaxBytes);
    return nextPage_;
}

bool WalkCommentPacket(OggPacketReader& packet, std::span<const uint8_t> magic, size_t keep,
                       const std::function<void(std::string_view text)>& field) {
    uint8_t head[kLongestMagic];
    if (magic.size() > sizeof head || packet.Read(head, magic.size()) < magic.size() ||
        std::memcmp(head, magic.data(), magic.size()) != 0)
        return false;
    std::string kept(keep, '\0');
    // The vendor text is item 0; the count read behind it says how many follow.
    int32_t fieldCount = 0;
    for (int64_t item = 0; item <= fieldCount; ++item) {
        uint8_t bytes[kLengthSize];
        if (packet.Read(bytes, kLengthSize) < kLengthSize) break;
        const uint32_t length = LoadLE32(bytes);
        const size_t got = packet.Read(kept.data(), std::min<uint64_t>(length, keep));
        field(std::string_view(kept.data(), got));
        if (!packet.Skip(length - got)) break;
        if (item == 0) {
            if (packet.Read(bytes, kLengthSize) < kLengthSize) break;
            fieldCount = static_cast<int32_t>(LoadLE32(bytes));
        }
    }
    return true;
}

}  // namespace qel
