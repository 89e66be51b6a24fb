// A picture as a PNG file, written without any image library: 8-bit RGB rows, no filtering, the
// compressed stream made of stored blocks. Larger than a compressed PNG, but every viewer reads it and
// the writer stays a few lines of plain code that also builds for Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png {

// `rgb` holds `height` rows of `width` pixels, three bytes each (red, green, blue), top row first.
std::vector<uint8_t> Encode(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
bool WriteFile(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

} // namespace png
