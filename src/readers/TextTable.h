#pragma once
// The text of an identifier in a table of texts whose entry 0 is the text
// for an unknown value.
#include <cstddef>

namespace qel {

template <size_t N>
const char* TableText(const char* const (&table)[N], unsigned index) {
    return index < N ? table[index] : table[0];
}

}  // namespace qel
