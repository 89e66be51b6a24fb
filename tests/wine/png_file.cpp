#include "png_file.h"

#include <array>
#include <fstream>

namespace png {

namespace {

constexpr size_t kStoredBlockBytes = 65535;

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t = {};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

// Length, type, data, and the CRC of type and data.
void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = start; i < out.size(); ++i) {
        crc = CrcTable()[(crc ^ out[i]) & 0xFF] ^ (crc >> 8);
    }
    Put32(out, crc ^ 0xFFFFFFFFu);
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < kStoredBlockBytes ? raw.size() - at : kStoredBlockBytes;
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);
    return z;
}

} // namespace

std::vector<uint8_t> Encode(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    const size_t stride = size_t{width} * 3;
    if (width == 0 || height == 0 || rgb.size() != stride * height) {
        return {};
    }
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        raw.insert(raw.end(), rgb.begin() + static_cast<std::ptrdiff_t>(y * stride),
                   rgb.begin() + static_cast<std::ptrdiff_t>((y + 1) * stride));
    }
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32(header, width);
    Put32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter method, no interlace
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", Stored(raw));
    Chunk(out, "IEND", {});
    return out;
}

bool WriteFile(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    const std::vector<uint8_t> bytes = Encode(width, height, rgb);
    if (bytes.empty()) {
        return false;
    }
    std::ofstream file(path.c_str(), std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace png
