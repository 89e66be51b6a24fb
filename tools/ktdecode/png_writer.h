// A decoded page as the label looks: one pixel per dot, white where nothing prints, each head's dots
// in its colour, later heads drawn over earlier ones (head 2 over head 1).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "decoder.h"

namespace ktdecode {

struct Rgb {
    uint8_t r, g, b;
};

inline constexpr Rgb kDefaultHeadColours[] = {{0, 0, 0}, {0xFF, 0, 0}}; // black, red

// An indexed-colour PNG of the page, with one colour per head (`colours` has at least as many entries
// as the page has heads). Empty, with `why` set, for a label without dots (0 wide or 0 long), which
// PNG cannot hold, or when libpng fails.
std::vector<uint8_t> EncodePng(const Page& page, std::span<const Rgb> colours, std::string& why);

} // namespace ktdecode
