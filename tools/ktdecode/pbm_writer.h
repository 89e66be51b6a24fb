// One head's label image as a binary PBM (P4): 1 is a printed dot, rows packed most significant bit
// first, as the head itself takes them.
#pragma once

#include <cstdint>
#include <vector>

#include "decoder.h"

namespace ktdecode {

std::vector<uint8_t> EncodePbm(const Image& image);

} // namespace ktdecode
