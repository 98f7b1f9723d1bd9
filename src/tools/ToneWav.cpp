#include "tools/ToneWav.h"

#include <cmath>

namespace qel::host {

std::optional<std::vector<uint8_t>> ToneWav(int32_t rate, int32_t milliseconds) {
    if (rate <= 0 || rate > 192000 || milliseconds < 0 || milliseconds > 600000) return std::nullopt;
    const uint32_t samples = uint32_t(int64_t(rate) * milliseconds / 1000);
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + size_t(samples) * 2);
    auto put = [&bytes](uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    auto text = [&bytes](const char* word) { bytes.insert(bytes.end(), word, word + 4); };
    text("RIFF");
    put(36 + samples * 2, 4);
    text("WAVE");
    text("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(uint32_t(rate), 4);
    put(uint32_t(rate) * 2, 4);
    put(2, 2);   // block
    put(16, 2);  // bits
    text("data");
    put(samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i)
        put(uint32_t(int16_t(8000 * std::sin(6.283185307179586 * 440.0 * i / rate))) & 0xFFFF, 2);
    return bytes;
}

}  // namespace qel::host
