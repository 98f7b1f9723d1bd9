#pragma once
// Builds APE tags for tests: items, an optional header and the footer.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/TestFiles.h"

namespace qel::test {

struct ApeItem {
    std::string key;
    std::string value;
};

struct ApeTagLayout {
    int32_t version = 2000;
    bool header = false;  // a header in front of the items (not counted in the tag size)
    // Overrides of the footer's numbers, for damaged tags.
    bool overrideSize = false;
    int32_t size = 0;
    bool overrideCount = false;
    int32_t count = 0;
};

// The items in order, each as value size, flags, key, zero byte, value.
Bytes ApeItems(const std::vector<ApeItem>& items);
// A whole tag around ApeItems(items).
Bytes ApeTag(const std::vector<ApeItem>& items, const ApeTagLayout& layout = {});
// A tag around items already laid out (for hand-made, damaged items).
Bytes ApeTagAround(const Bytes& items, int32_t itemCount, const ApeTagLayout& layout = {});

}  // namespace qel::test
