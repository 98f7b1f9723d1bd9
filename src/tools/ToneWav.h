#pragma once
// The sound files qelhost scripts play: a mono 16-bit PCM WAV file with a
// 440 Hz tone.
#include <cstdint>
#include <optional>
#include <vector>

namespace qel::host {

// The whole file; nothing when the rate is not 1..192000 Hz or the length
// not 0..600000 ms.
std::optional<std::vector<uint8_t>> ToneWav(int32_t rate, int32_t milliseconds);

}  // namespace qel::host
