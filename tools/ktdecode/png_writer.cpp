#include "png_writer.h"

#include <png.h>

namespace ktdecode {

std::vector<uint8_t> EncodePng(const Page& page, std::span<const Rgb> colours, std::string& why) {
    if (page.heads.empty() || colours.size() < page.heads.size()) {
        why = "a colour for each head";
        return {};
    }
    const Image& first = page.heads[0].image;
    if (first.width <= 0 || first.height <= 0) {
        why = "the label is " + std::to_string(first.width) + " x " + std::to_string(first.height) +
              " dots: no image";
        return {};
    }
    // Palette index 0 is white, index h + 1 the colour of head h.
    std::vector<png_byte> palette(3 * (page.heads.size() + 1), 0xFF);
    for (size_t h = 0; h < page.heads.size(); ++h) {
        palette[3 * (h + 1)] = colours[h].r;
        palette[3 * (h + 1) + 1] = colours[h].g;
        palette[3 * (h + 1) + 2] = colours[h].b;
    }
    std::vector<png_byte> pixels(first.dots.size(), 0);
    for (size_t h = 0; h < page.heads.size(); ++h) {
        const std::vector<uint8_t>& dots = page.heads[h].image.dots;
        for (size_t i = 0; i < pixels.size() && i < dots.size(); ++i) {
            if (dots[i]) {
                pixels[i] = static_cast<png_byte>(h + 1);
            }
        }
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(first.width);
    image.height = static_cast<png_uint_32>(first.height);
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(page.heads.size() + 1);
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, palette.data())) {
        why = std::string("libpng: ") + image.message;
        png_image_free(&image);
        return {};
    }
    out.resize(size);
    return out;
}

} // namespace ktdecode
