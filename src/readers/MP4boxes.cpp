#include "readers/MP4boxes.h"

#include <algorithm>

#include "readers/FileBytes.h"

namespace qel {

namespace {
constexpr int64_t kHeader = 8;       // 32-bit size and type
constexpr int64_t kLargeHeader = 16;  // followed by a 64-bit size
}  // namespace

BoxWalker::BoxWalker(BinaryFile& file, int64_t fileSize, BoxBudget& budget)
    : file_(&file), budget_(&budget), position_(0), end_(std::max<int64_t>(fileSize, 0)), depth_(0) {}

BoxWalker::BoxWalker(BinaryFile& file, const Box& parent, BoxBudget& budget, int64_t skip)
    : file_(&file), budget_(&budget), position_(parent.content + std::clamp<int64_t>(skip, 0, parent.ContentSize())),
      end_(parent.end), depth_(parent.depth + 1) {
    if (depth_ > BoxBudget::kMaxDepth) position_ = end_;
}

bool BoxWalker::Next(Box& box) {
    const int64_t room = end_ - position_;
    if (room < kHeader || budget_->boxesLeft <= 0) return false;
    --budget_->boxesLeft;
    uint8_t scratch[kLargeHeader];
    ByteCursor header = CursorAt(*file_, position_, scratch);
    uint32_t size32 = 0, type = 0;
    if (!header.TryBE32(size32) || !header.TryBE32(type)) return false;  // the file ends inside the header
    uint64_t size = size32;
    int64_t headerSize = kHeader;
    if (size32 == 1) {
        if (room < kLargeHeader || !header.TryBE64(size)) return false;
        headerSize = kLargeHeader;
    } else if (size32 == 0) {
        size = static_cast<uint64_t>(room);  // the box runs to the end
    }
    if (size < static_cast<uint64_t>(headerSize)) {
        position_ = end_;  // nothing behind a broken size can be found
        return false;
    }
    const int64_t length = size > static_cast<uint64_t>(room) ? room : static_cast<int64_t>(size);
    box = {type, position_ + headerSize, position_ + length, depth_};
    position_ += length;
    return true;
}

bool BoxWalker::Find(uint32_t type, Box& box) {
    while (Next(box))
        if (box.type == type) return true;
    return false;
}

}  // namespace qel
