#pragma once
// Checking a saved picture: is there anything on it?
#include <cstdint>
#include <vector>

namespace qel::host {

// True when the bytes are a BMP file whose pixels have two colours or more
// (a blank picture has one).
bool PictureHasContent(const std::vector<uint8_t>& bmp);

}  // namespace qel::host
