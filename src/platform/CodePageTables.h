#pragma once
#include <cstdint>

namespace qel {

// The upper half of an 8-bit code page: high[b - 0x80] is the character of byte b.
struct CodePageTable {
    unsigned number;
    const char16_t* high;
};

// nullptr for a code page without a table.
const CodePageTable* FindCodePage(unsigned number);

}  // namespace qel
