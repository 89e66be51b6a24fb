// The drawing an application does on a page, as Windows' engine turns it into calls of a printer driver's
// hooks: the engine builds the DDI objects (a clip object of the page, a solid brush of the colour in the
// device's palette, a bitmap with its colour translation, a path, a string of glyph bitmaps) and calls the
// hook with the device surface's own SURFOBJ. Glyphs are rendered with FreeType.
#include "engine_internal.h"
#include "objects.h"

#include <windows.h>
#include <winddi.h>
#include <winsim_host.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace winsim {
namespace {

using BitBltHook = WINBOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*,
                                      POINTL*, BRUSHOBJ*, POINTL*, ROP4);
using LineToHook = WINBOOL(APIENTRY*)(SURFOBJ*, CLIPOBJ*, BRUSHOBJ*, LONG, LONG, LONG, LONG, RECTL*, MIX);
using FillPathHook = WINBOOL(APIENTRY*)(SURFOBJ*, PATHOBJ*, CLIPOBJ*, BRUSHOBJ*, POINTL*, MIX, FLONG);
using CopyBitsHook = WINBOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*);
using StretchBltHook = WINBOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, COLORADJUSTMENT*,
                                          POINTL*, RECTL*, RECTL*, POINTL*, ULONG);
using TextOutHook = WINBOOL(APIENTRY*)(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*,
                                       BRUSHOBJ*, POINTL*, MIX);
using GlyphModeHook = ULONG(APIENTRY*)(DHPDEV, FONTOBJ*);

constexpr MIX kCopyPen = R2_COPYPEN << 8 | R2_COPYPEN;

template <class F> F hook(const FrontDevice& d, ULONG index) {
    const auto it = d.functions->find(index);
    return it == d.functions->end() ? nullptr : reinterpret_cast<F>(reinterpret_cast<void (*)()>(it->second));
}

// The objects of one drawing call, deleted when it returns.
struct CallObjects {
    CLIPOBJ* clip = nullptr;
    BRUSHOBJ* brush = nullptr;
    XLATEOBJ* xlate = nullptr;
    PATHOBJ* path = nullptr;
    STROBJ* string = nullptr;
    FONTOBJ* font = nullptr;
    SURFOBJ* bitmap = nullptr;
    HPALETTE palette = nullptr;
    ~CallObjects() {
        if (clip)
            delete_clip(clip);
        if (brush)
            delete_brush(brush);
        if (xlate)
            delete_xlate(xlate);
        if (path)
            delete_path(path);
        if (string)
            delete_string(string);
        if (font)
            delete_font(font);
        if (bitmap)
            engine_delete_host_bitmap(bitmap);
        if (palette)
            engine_delete_host_palette(palette);
    }
};

ULONG bits_of(const SURFOBJ* so) {
    switch (so->iBitmapFormat) {
    case BMF_1BPP:
        return 1;
    case BMF_8BPP:
        return 8;
    case BMF_24BPP:
        return 24;
    default:
        return 32;
    }
}

PaletteView device_view(const FrontDevice& d) {
    PaletteView view;
    if (d.palette)
        engine_palette_view(d.palette, &view);
    return view;
}

// The page's clip, as GDI simplifies it: trivial when what is drawn lies within the page, else the page.
CLIPOBJ* page_clip(const FrontDevice& d, const RECTL& drawn) {
    const RECTL page = {0, 0, d.so->sizlBitmap.cx, d.so->sizlBitmap.cy};
    const bool inside =
        drawn.left >= 0 && drawn.top >= 0 && drawn.right <= page.right && drawn.bottom <= page.bottom;
    return make_clip(inside ? DC_TRIVIAL : DC_RECT, &page, 1);
}

// A solid brush of the device colour nearest the colour.
BRUSHOBJ* solid_brush(const FrontDevice& d, ULONG color) {
    return make_brush(palette_nearest(device_view(d), bits_of(d.so), color), false, color, 0, nullptr, d.so);
}

int missing_hook() {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return 0;
}

int bad_argument() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

// Fonts stay open for the process: a job draws with the same few again and again.
struct Fonts {
    std::mutex mutex;
    FT_Library library = nullptr;
    std::map<std::string, FT_Face> faces;
};

Fonts& fonts() {
    static Fonts* f = new Fonts;
    return *f;
}

FT_Face open_face(const char* path) {
    Fonts& f = fonts();
    if (!f.library && FT_Init_FreeType(&f.library) != 0)
        return nullptr;
    const auto it = f.faces.find(path);
    if (it != f.faces.end())
        return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(f.library, path, 0, &face) != 0)
        return nullptr;
    f.faces.emplace(path, face);
    return face;
}

// UTF-8 to code points; a byte that starts no sequence stands for itself.
std::u32string code_points(const char* text) {
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        char32_t c = *p;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        c = more == 3 ? c & 0x07 : more == 2 ? c & 0x0F : more == 1 ? c & 0x1F : c;
        ++p;
        while (more-- > 0 && (*p & 0xC0) == 0x80)
            c = c << 6 | (*p++ & 0x3F);
        out.push_back(c);
    }
    return out;
}

// The glyphs of a text as 1-bit bitmaps at their places, and the box they cover.
bool render_glyphs(const char* font_file, LONG pixel_height, LONG x, LONG y, const char* text,
                   std::vector<GlyphImage>* glyphs, RECTL* box, std::u16string* utf16) {
    Fonts& f = fonts();
    std::lock_guard lock(f.mutex);
    FT_Face face = open_face(font_file);
    if (!face || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_height)) != 0)
        return false;
    *box = {x, y, x, y};
    LONG pen = x;
    for (char32_t c : code_points(text)) {
        if (c < 0x10000) {
            utf16->push_back(static_cast<char16_t>(c));
        } else {
            utf16->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            utf16->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        GlyphImage g;
        g.position = {pen, y};
        g.origin = {slot->bitmap_left, -slot->bitmap_top};
        g.size = {static_cast<LONG>(bm.width), static_cast<LONG>(bm.rows)};
        const size_t row_bytes = (bm.width + 7) / 8;
        g.rows.assign(row_bytes * bm.rows, 0);
        for (unsigned r = 0; r < bm.rows; ++r) {
            const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                std::memcpy(&g.rows[r * row_bytes], src, row_bytes);
            } else {
                for (unsigned c2 = 0; c2 < bm.width; ++c2) {
                    if (src[c2] >= 128)
                        g.rows[r * row_bytes + c2 / 8] |= static_cast<BYTE>(0x80 >> (c2 % 8));
                }
            }
        }
        if (g.size.cx > 0 && g.size.cy > 0) {
            box->left = std::min(box->left, pen + g.origin.x);
            box->top = std::min(box->top, y + g.origin.y);
            box->right = std::max(box->right, pen + g.origin.x + g.size.cx);
            box->bottom = std::max(box->bottom, y + g.origin.y + g.size.cy);
            glyphs->push_back(std::move(g));
        }
        pen += static_cast<LONG>(slot->advance.x >> 6);
    }
    box->right = std::max(box->right, pen);
    return true;
}

} // namespace
} // namespace winsim

using namespace winsim;

extern "C" {

int winsim_engine_fill_rect(void* device, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            uint32_t color) {
    FrontDevice d;
    if (!front_device(device, &d))
        return 0;
    const auto bitblt = hook<BitBltHook>(d, INDEX_DrvBitBlt);
    if (!bitblt)
        return missing_hook();
    RECTL rect = {left, top, right, bottom};
    POINTL origin = {0, 0};
    CallObjects o;
    o.clip = page_clip(d, rect);
    o.brush = solid_brush(d, color);
    return bitblt(d.so, nullptr, nullptr, o.clip, nullptr, &rect, nullptr, nullptr, o.brush, &origin, 0xF0F0)
               ? 1
               : 0;
}

int winsim_engine_draw_line(void* device, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
    FrontDevice d;
    if (!front_device(device, &d))
        return 0;
    const auto line_to = hook<LineToHook>(d, INDEX_DrvLineTo);
    if (!line_to)
        return missing_hook();
    RECTL bounds = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    CallObjects o;
    o.clip = page_clip(d, bounds);
    o.brush = solid_brush(d, color);
    return line_to(d.so, o.clip, o.brush, x1, y1, x2, y2, &bounds, kCopyPen) ? 1 : 0;
}

int winsim_engine_fill_polygon(void* device, const int32_t* points, uint32_t count, uint32_t color) {
    FrontDevice d;
    if (!front_device(device, &d))
        return 0;
    if (!points || count < 3 || count > 100000)
        return bad_argument();
    const auto fill_path = hook<FillPathHook>(d, INDEX_DrvFillPath);
    if (!fill_path)
        return missing_hook();
    Figure figure;
    figure.closed = true;
    RECTL bounds = {points[0], points[1], points[0], points[1]};
    for (uint32_t i = 0; i < count; ++i) {
        const LONG x = points[2 * i], y = points[2 * i + 1];
        figure.points.push_back({static_cast<FIX>(static_cast<uint32_t>(x) << 4),
                                 static_cast<FIX>(static_cast<uint32_t>(y) << 4)});
        bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
                  std::max(bounds.bottom, y)};
    }
    std::vector<Figure> figures;
    figures.push_back(std::move(figure));
    POINTL origin = {0, 0};
    CallObjects o;
    o.clip = page_clip(d, bounds);
    o.brush = solid_brush(d, color);
    o.path = make_path(std::move(figures));
    return fill_path(d.so, o.path, o.clip, o.brush, &origin, kCopyPen, FP_ALTERNATEMODE) ? 1 : 0;
}

int winsim_engine_draw_bitmap(void* device, const winsim_bitmap* bitmap, int32_t left, int32_t top,
                              int32_t right, int32_t bottom, uint32_t stretch_mode) {
    FrontDevice d;
    if (!front_device(device, &d))
        return 0;
    if (!bitmap || !bitmap->bits || bitmap->width <= 0 || bitmap->height <= 0 ||
        (bitmap->bits_per_pixel != 1 && bitmap->bits_per_pixel != 24))
        return bad_argument();
    const long long row = (static_cast<long long>(bitmap->width) * bitmap->bits_per_pixel + 7) / 8;
    if (bitmap->stride < row)
        return bad_argument();
    const bool same_size = static_cast<long long>(right) - left == bitmap->width &&
                           static_cast<long long>(bottom) - top == bitmap->height;
    const auto copy_bits = hook<CopyBitsHook>(d, INDEX_DrvCopyBits);
    const auto stretch_blt = hook<StretchBltHook>(d, INDEX_DrvStretchBlt);
    if ((same_size && !copy_bits) || (!same_size && !stretch_blt))
        return missing_hook();
    CallObjects o;
    PaletteView source;
    if (bitmap->bits_per_pixel == 1) {
        source.mode = PAL_INDEXED;
        source.colors = {bitmap->colors[0] & 0xFFFFFF, bitmap->colors[1] & 0xFFFFFF};
    } else {
        source.mode = PAL_BGR;
    }
    o.palette = engine_host_palette(source);
    o.bitmap = engine_host_bitmap({bitmap->width, bitmap->height},
                                  bitmap->bits_per_pixel == 1 ? BMF_1BPP : BMF_24BPP, o.palette);
    if (!o.bitmap) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    for (int32_t y = 0; y < bitmap->height; ++y)
        std::memcpy(static_cast<BYTE*>(o.bitmap->pvScan0) + static_cast<ptrdiff_t>(o.bitmap->lDelta) * y,
                    static_cast<const BYTE*>(bitmap->bits) + static_cast<ptrdiff_t>(bitmap->stride) * y,
                    static_cast<size_t>(row));
    o.xlate = make_xlate(source, device_view(d));
    RECTL dest = {left, top, right, bottom};
    RECTL drawn = {std::min(left, right), std::min(top, bottom), std::max(left, right),
                   std::max(top, bottom)};
    o.clip = page_clip(d, drawn);
    POINTL from = {0, 0};
    if (same_size)
        return copy_bits(d.so, o.bitmap, o.clip, o.xlate, &dest, &from) ? 1 : 0;
    RECTL source_rect = {0, 0, bitmap->width, bitmap->height};
    POINTL origin = {0, 0};
    return stretch_blt(d.so, o.bitmap, nullptr, o.clip, o.xlate, nullptr, &origin, &dest, &source_rect,
                       nullptr, stretch_mode)
               ? 1
               : 0;
}

int winsim_engine_draw_text(void* device, const char* font_file, int32_t pixel_height, int32_t x, int32_t y,
                            const char* text, uint32_t color) {
    FrontDevice d;
    if (!front_device(device, &d))
        return 0;
    if (!font_file || !text || pixel_height <= 0 || pixel_height > 4096)
        return bad_argument();
    const auto text_out = hook<TextOutHook>(d, INDEX_DrvTextOut);
    if (!text_out)
        return missing_hook();
    std::vector<GlyphImage> glyphs;
    RECTL box;
    std::u16string utf16;
    if (!render_glyphs(font_file, pixel_height, x, y, text, &glyphs, &box, &utf16)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    CallObjects o;
    o.font = make_font(0, pixel_height, 0);
    // The engine asks how the driver takes glyphs; this front hands out bitmaps only.
    if (const auto glyph_mode = hook<GlyphModeHook>(d, INDEX_DrvGetGlyphMode)) {
        if (glyph_mode(d.dhpdev, o.font) != FO_GLYPHBITS) {
            SetLastError(ERROR_NOT_SUPPORTED);
            return 0;
        }
    }
    o.string = make_string(glyphs, box, utf16.c_str());
    o.clip = page_clip(d, box);
    o.brush = solid_brush(d, color);
    POINTL origin = {0, 0};
    return text_out(d.so, o.string, o.font, o.clip, nullptr, nullptr, o.brush, nullptr, &origin, kCopyPen)
               ? 1
               : 0;
}

} // extern "C"
