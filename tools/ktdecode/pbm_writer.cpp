#include "pbm_writer.h"

#include <string>

namespace ktdecode {

std::vector<uint8_t> EncodePbm(const Image& image) {
    const std::string header =
        "P4\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n";
    const size_t rowBytes = (static_cast<size_t>(image.width) + 7) / 8;
    std::vector<uint8_t> out(header.begin(), header.end());
    out.resize(header.size() + rowBytes * static_cast<size_t>(image.height), 0);
    uint8_t* bits = out.data() + header.size();
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y)) {
                bits[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) / 8] |=
                    static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return out;
}

} // namespace ktdecode
