#pragma once
// Walking the boxes of an MP4 (ISO base media) file: each box is a 32-bit
// size, a 4-byte type, a 64-bit size when the first is 1, then its content.
// No size is trusted: a walk stays inside its parent, and the boxes looked at
// and the depth of nesting are bounded per file.
#include <cstdint>

#include "platform/BinaryFile.h"

namespace qel {

// A box type as the number its 4 bytes make, big-endian.
constexpr uint32_t BoxType(const char (&name)[5]) {
    uint32_t code = 0;
    for (int i = 0; i < 4; ++i) code = (code << 8) | static_cast<uint8_t>(name[i]);
    return code;
}

struct Box {
    uint32_t type = 0;
    int64_t content = 0;  // file position of the content, behind the header
    int64_t end = 0;      // inside the parent's end and the file's
    int depth = 0;        // 0 for the top-level boxes
    int64_t ContentSize() const { return end - content; }
};

// What all walks over one file may spend together.
struct BoxBudget {
    static constexpr int kMaxBoxes = 1024;  // box headers read per file
    static constexpr int kMaxDepth = 10;    // deeper boxes are not entered
    int boxesLeft = kMaxBoxes;
};

// The boxes from one position up to an end, in file order.
class BoxWalker {
public:
    // The top-level boxes of a file of fileSize bytes.
    BoxWalker(BinaryFile& file, int64_t fileSize, BoxBudget& budget);
    // The children of parent, from `skip` bytes into its content (the fields
    // some boxes hold before their children). Empty when too deep.
    BoxWalker(BinaryFile& file, const Box& parent, BoxBudget& budget, int64_t skip = 0);

    // The next box; false at the end, at a header that does not fit, a size
    // smaller than its header, or when the budget is spent. A size of 0 runs
    // to the end, and a box running past the end is cut there and is the last.
    bool Next(Box& box);
    // The next box of the given type.
    bool Find(uint32_t type, Box& box);

private:
    BinaryFile* file_;
    BoxBudget* budget_;
    int64_t position_, end_;
    int depth_;
};

}  // namespace qel
