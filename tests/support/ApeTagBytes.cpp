#include "support/ApeTagBytes.h"

namespace qel::test {
namespace {

void AppendHeaderOrFooter(Bytes& out, const ApeTagLayout& layout, int32_t size, int32_t count, bool isHeader) {
    Append(out, "APETAGEX");
    AppendLE32(out, static_cast<uint32_t>(layout.version));
    AppendLE32(out, static_cast<uint32_t>(layout.overrideSize ? layout.size : size));
    AppendLE32(out, static_cast<uint32_t>(layout.overrideCount ? layout.count : count));
    uint32_t flags = layout.header ? 0x80000000u : 0;
    if (isHeader) flags |= 0x20000000u;
    AppendLE32(out, flags);
    AppendZeros(out, 8);
}

}  // namespace

Bytes ApeItems(const std::vector<ApeItem>& items) {
    Bytes out;
    for (const auto& item : items) {
        AppendLE32(out, static_cast<uint32_t>(item.value.size()));
        AppendLE32(out, 0);
        Append(out, item.key);
        out.push_back(0);
        Append(out, item.value);
    }
    return out;
}

Bytes ApeTag(const std::vector<ApeItem>& items, const ApeTagLayout& layout) {
    return ApeTagAround(ApeItems(items), static_cast<int32_t>(items.size()), layout);
}

Bytes ApeTagAround(const Bytes& items, int32_t itemCount, const ApeTagLayout& layout) {
    const auto size = static_cast<int32_t>(items.size() + 32);
    Bytes out;
    if (layout.header) AppendHeaderOrFooter(out, layout, size, itemCount, true);
    out.insert(out.end(), items.begin(), items.end());
    AppendHeaderOrFooter(out, layout, size, itemCount, false);
    return out;
}

}  // namespace qel::test
