// The engine's drawing services draw for real into 1-, 8- and 24-bit bitmaps, record what they were asked,
// and the object services hand out what the engine's objects hold.
#include "winsim_test.h"

#include <winddi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// An engine bitmap of the test's, its pixels read and written as values of its format.
class Bitmap {
  public:
    Bitmap(LONG cx, LONG cy, ULONG format, std::vector<uint32_t> colors = {})
        : so_(static_cast<SURFOBJ*>(winsim_bitmap_create(cx, cy, format, nullptr, 0, colors.data(),
                                                         static_cast<uint32_t>(colors.size())))) {}
    ~Bitmap() { winsim_bitmap_delete(so_); }
    SURFOBJ* so() const { return so_; }
    ULONG bits() const {
        return so_->iBitmapFormat == BMF_1BPP ? 1 : so_->iBitmapFormat == BMF_8BPP ? 8 : 24;
    }
    ULONG At(LONG x, LONG y) const {
        const BYTE* row = static_cast<const BYTE*>(so_->pvScan0) + static_cast<ptrdiff_t>(y) * so_->lDelta;
        switch (bits()) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 1;
        case 8:
            return row[x];
        default:
            return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
        }
    }
    void Set(LONG x, LONG y, ULONG v) {
        BYTE* row = static_cast<BYTE*>(so_->pvScan0) + static_cast<ptrdiff_t>(y) * so_->lDelta;
        switch (bits()) {
        case 1:
            row[x / 8] = static_cast<BYTE>((row[x / 8] & ~(0x80 >> (x % 8))) | ((v & 1) << (7 - x % 8)));
            break;
        case 8:
            row[x] = static_cast<BYTE>(v);
            break;
        default:
            for (int k = 0; k < 3; ++k) {
                row[3 * x + k] = static_cast<BYTE>(v >> (8 * k));
            }
        }
    }
    void Fill(ULONG v) {
        for (LONG y = 0; y < so_->sizlBitmap.cy; ++y) {
            for (LONG x = 0; x < so_->sizlBitmap.cx; ++x) {
                Set(x, y, v);
            }
        }
    }
    // The pixels equal to v as text rows, '#' for each.
    std::vector<std::string> Where(ULONG v) const {
        std::vector<std::string> rows;
        for (LONG y = 0; y < so_->sizlBitmap.cy; ++y) {
            std::string r;
            for (LONG x = 0; x < so_->sizlBitmap.cx; ++x) {
                r += At(x, y) == v ? '#' : '.';
            }
            rows.push_back(r);
        }
        return rows;
    }

  private:
    SURFOBJ* so_;
};

class Drawing : public WinsimTest {};

TEST_F(Drawing, RowWidthsTheEngineIgnores) {
    const struct {
        LONG Width;
        bool OwnBits;
        LONG Delta;
    } rows[] = {
        {3, false, 4}, // whole bytes of a 20-pixel 1-bpp row: rows of whole words all the same
        {5, false, 4}, // not a multiple of 4 either
        {8, false, 8}, // a multiple of 4 is taken
        {3, true, 3},  // bits the caller brings keep the caller's rows
    };
    BYTE storage[64] = {};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Width);
        HBITMAP bitmap =
            EngCreateBitmap({20, 4}, r.Width, BMF_1BPP, BMF_TOPDOWN, r.OwnBits ? storage : nullptr);
        ASSERT_NE(bitmap, nullptr);
        SURFOBJ* so = EngLockSurface(reinterpret_cast<HSURF>(bitmap));
        EXPECT_EQ(so->lDelta, r.Delta);
        EngUnlockSurface(so);
        EXPECT_TRUE(EngDeleteSurface(reinterpret_cast<HSURF>(bitmap)));
    }
}

// A solid fill reaches exactly the clip's rectangles within the target, in every format; XOR inverts.
TEST_F(Drawing, FillsFollowTheClip) {
    const int32_t rects[] = {1, 0, 3, 2, 5, 1, 9, 2};
    CLIPOBJ* clip = static_cast<CLIPOBJ*>(winsim_clip_create(DC_COMPLEX, rects, 2));
    for (ULONG format : {BMF_1BPP, BMF_8BPP, BMF_24BPP}) {
        SCOPED_TRACE(format);
        Bitmap b(10, 3, format);
        b.Fill(0);
        const ULONG ink = format == BMF_1BPP ? 1 : format == BMF_8BPP ? 0x80 : 0x0000FF;
        BRUSHOBJ brush = {ink, nullptr, 0};
        RECTL target = {2, 0, 8, 3};
        EXPECT_TRUE(EngBitBlt(b.so(), nullptr, nullptr, clip, nullptr, &target, nullptr, nullptr, &brush,
                              nullptr, 0xF0F0));
        EXPECT_EQ(b.Where(ink), (std::vector<std::string>{"..#.......", "..#..###..", ".........."}));
        EXPECT_TRUE(EngBitBlt(b.so(), nullptr, nullptr, nullptr, nullptr, &target, nullptr, nullptr, &brush,
                              nullptr, 0x5A5A));
        EXPECT_EQ(b.Where(ink), (std::vector<std::string>{"...#####..", "...##.....", "..######.."}));
    }
    winsim_clip_delete(clip);
}

// Source copies with the common raster operations, on pixel values.
TEST_F(Drawing, CopiesWithRasterOperations) {
    const struct {
        ROP4 Rop;
        ULONG Result;
    } rows[] = {
        {0xCCCC, 0xC3}, {0x8888, 0x81}, {0xEEEE, 0xCF}, {0x6666, 0x4E},
        {0x3333, 0x3C}, {0x0000, 0x00}, {0xFFFF, 0xFF},
    };
    Bitmap source(4, 4, BMF_8BPP);
    Bitmap dest(4, 4, BMF_8BPP);
    for (const auto& r : rows) {
        source.Fill(0xC3);
        dest.Fill(0x8D);
        RECTL target = {1, 1, 3, 3};
        POINTL from = {0, 0};
        EXPECT_TRUE(EngBitBlt(dest.so(), source.so(), nullptr, nullptr, nullptr, &target, &from, nullptr,
                              nullptr, nullptr, r.Rop));
        EXPECT_EQ(dest.At(1, 1), r.Result) << std::hex << r.Rop;
        EXPECT_EQ(dest.At(0, 0), 0x8Du) << "outside the target";
    }
    // Across formats the colour translation decides: a 1-bpp source of white-on-black into 24 bits.
    Bitmap mono(4, 1, BMF_1BPP);
    Bitmap rgb(4, 1, BMF_24BPP);
    mono.Fill(0);
    mono.Set(2, 0, 1);
    rgb.Fill(0x123456);
    const uint32_t palette[] = {0x0000FF, 0x00FF00};
    XLATEOBJ* xlate = static_cast<XLATEOBJ*>(winsim_xlate_create(PAL_INDEXED, palette, 2, nullptr));
    RECTL all = {0, 0, 4, 1};
    POINTL origin = {0, 0};
    EXPECT_TRUE(EngCopyBits(rgb.so(), mono.so(), nullptr, xlate, &all, &origin));
    EXPECT_EQ(rgb.At(0, 0), 0xFF0000u) << "red, in the blue-first order of a bitmap without a palette";
    EXPECT_EQ(rgb.At(2, 0), 0x00FF00u);
    winsim_xlate_delete(xlate);
}

// Nearest-neighbour stretches: doubling, mirroring, and a source point outside drawing nothing.
TEST_F(Drawing, StretchesTakeTheNearestSourcePixel) {
    Bitmap source(2, 2, BMF_8BPP);
    source.Set(0, 0, 1);
    source.Set(1, 0, 2);
    source.Set(0, 1, 3);
    source.Set(1, 1, 4);
    Bitmap dest(4, 4, BMF_8BPP);
    RECTL from = {0, 0, 2, 2};
    RECTL doubled = {0, 0, 4, 4};
    EXPECT_TRUE(EngStretchBlt(dest.so(), source.so(), nullptr, nullptr, nullptr, nullptr, nullptr, &doubled,
                              &from, nullptr, COLORONCOLOR));
    EXPECT_EQ(dest.At(1, 1), 1u);
    EXPECT_EQ(dest.At(2, 1), 2u);
    EXPECT_EQ(dest.At(3, 3), 4u);
    RECTL mirrored = {4, 0, 0, 4};
    EXPECT_TRUE(EngStretchBlt(dest.so(), source.so(), nullptr, nullptr, nullptr, nullptr, nullptr, &mirrored,
                              &from, nullptr, COLORONCOLOR));
    EXPECT_EQ(dest.At(0, 0), 2u);
    EXPECT_EQ(dest.At(3, 3), 3u);
}

// Halftoning into a 1-bit bitmap: mid grey becomes about half black, black all black.
TEST_F(Drawing, HalftoningIntoOneBit) {
    Bitmap grey(8, 8, BMF_24BPP);
    grey.Fill(0x808080);
    Bitmap mono(8, 8, BMF_1BPP);
    RECTL all = {0, 0, 8, 8};
    EXPECT_TRUE(EngStretchBlt(mono.so(), grey.so(), nullptr, nullptr, nullptr, nullptr, nullptr, &all, &all,
                              nullptr, HALFTONE));
    int black = 0;
    for (const std::string& row : mono.Where(0)) {
        black += static_cast<int>(std::count(row.begin(), row.end(), '#'));
    }
    EXPECT_EQ(black, 32);
    EXPECT_TRUE(EngStretchBlt(mono.so(), grey.so(), nullptr, nullptr, nullptr, nullptr, nullptr, &all, &all,
                              nullptr, COLORONCOLOR));
    EXPECT_EQ(mono.Where(1)[0], "########") << "without halftoning mid grey is nearer white";
}

// Lines leave out their last point; polygons fill the pixels whose centres lie inside; glyph bitmaps
// are drawn at their origin.
TEST_F(Drawing, LinesPolygonsAndGlyphs) {
    Bitmap b(8, 6, BMF_8BPP);
    b.Fill(0);
    BRUSHOBJ ink = {7, nullptr, 0};
    EXPECT_TRUE(EngLineTo(b.so(), nullptr, &ink, 0, 0, 4, 0, nullptr, 0x0D0D));
    EXPECT_TRUE(EngLineTo(b.so(), nullptr, &ink, 7, 1, 4, 4, nullptr, 0x0D0D));
    EXPECT_EQ(b.Where(7), (std::vector<std::string>{"####....", ".......#", "......#.", ".....#..",
                                                    "........", "........"}));
    b.Fill(0);
    const int32_t square[] = {1, 1, 5, 1, 5, 4, 1, 4};
    PATHOBJ* path = static_cast<PATHOBJ*>(winsim_path_create(square, 4));
    EXPECT_TRUE(EngFillPath(b.so(), path, nullptr, &ink, nullptr, 0x0D0D, FP_ALTERNATEMODE));
    EXPECT_EQ(b.Where(7), (std::vector<std::string>{"........", ".####...", ".####...", ".####...",
                                                    "........", "........"}));
    winsim_path_delete(path);

    b.Fill(0);
    alignas(8) BYTE storage[sizeof(GLYPHBITS) + 8] = {};
    auto* glyph = reinterpret_cast<GLYPHBITS*>(storage);
    glyph->ptlOrigin = {0, -2};
    glyph->sizlBitmap = {3, 2};
    glyph->aj[0] = 0xA0; // #.#
    glyph->aj[1] = 0x40; // .#.
    GLYPHDEF def;
    def.pgb = glyph;
    GLYPHPOS pos = {0, &def, {2, 3}};
    STROBJ string = {};
    string.cGlyphs = 1;
    string.pgp = &pos;
    EXPECT_TRUE(
        EngTextOut(b.so(), &string, nullptr, nullptr, nullptr, nullptr, &ink, nullptr, nullptr, 0x0D0D));
    EXPECT_EQ(b.Where(7), (std::vector<std::string>{"........", "..#.#...", "...#....", "........",
                                                    "........", "........"}));
}

// What a drawing call was asked is recorded, planned failures too.
TEST_F(Drawing, CallsAreRecorded) {
    Bitmap b(8, 8, BMF_8BPP);
    RECTL target = {1, 2, 3, 4};
    POINTL origin = {-5, 6};
    BRUSHOBJ brush = {9, nullptr, 0};
    const int32_t bounds[] = {0, 0, 4, 4};
    CLIPOBJ* clip = static_cast<CLIPOBJ*>(winsim_clip_create(DC_RECT, bounds, 1));
    winsim_draw_clear();
    EXPECT_TRUE(EngBitBlt(b.so(), nullptr, nullptr, clip, nullptr, &target, nullptr, nullptr, &brush, &origin,
                          0xF0F0));
    ASSERT_EQ(winsim_fail_next("EngPaint", 1), 1);
    EXPECT_FALSE(EngPaint(b.so(), nullptr, &brush, nullptr, 0x0D0D));
    ASSERT_EQ(winsim_draw_count(), 2u);
    winsim_draw_call call = {};
    ASSERT_EQ(winsim_draw_get(0, &call), 1);
    EXPECT_STREQ(call.service, "EngBitBlt");
    EXPECT_EQ(call.result, 1);
    EXPECT_EQ(call.target, b.so()->hsurf);
    EXPECT_EQ(
        call.given & (WINSIM_DRAW_DEST | WINSIM_DRAW_ORIGIN | WINSIM_DRAW_CLIP | WINSIM_DRAW_BRUSH),
        static_cast<uint32_t>(WINSIM_DRAW_DEST | WINSIM_DRAW_ORIGIN | WINSIM_DRAW_CLIP | WINSIM_DRAW_BRUSH));
    EXPECT_EQ(call.dest.right, 3);
    EXPECT_EQ(call.origin.x, -5);
    EXPECT_EQ(call.clip, clip);
    EXPECT_EQ(call.clip_complexity, DC_RECT);
    EXPECT_EQ(call.brush_color, 9u);
    EXPECT_EQ(call.rop, 0xF0F0u);
    ASSERT_EQ(winsim_draw_get(1, &call), 1);
    EXPECT_STREQ(call.service, "EngPaint");
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(winsim_draw_get(2, &call), 0);
    winsim_clip_delete(clip);
}

// CLIPOBJ_bEnum hands out as many rectangles as the buffer holds; XLATEOBJ_cGetPalette the indexed
// palettes; BRUSHOBJ_pvGetRbrush a realisation only where the driver can make one.
TEST_F(Drawing, ObjectServices) {
    const int32_t rects[] = {0, 5, 1, 6, 0, 0, 1, 1, 2, 0, 3, 1};
    CLIPOBJ* clip = static_cast<CLIPOBJ*>(winsim_clip_create(DC_COMPLEX, rects, 3));
    EXPECT_EQ(clip->rclBounds.bottom, 6);
    EXPECT_EQ(CLIPOBJ_cEnumStart(clip, FALSE, CT_RECTANGLES, CD_ANY, 0), 3u);
    struct {
        ULONG c;
        RECTL arcl[2];
    } batch;
    EXPECT_TRUE(CLIPOBJ_bEnum(clip, sizeof(batch), reinterpret_cast<ULONG*>(&batch)));
    ASSERT_EQ(batch.c, 2u);
    EXPECT_EQ(batch.arcl[0].left, 0);
    EXPECT_EQ(batch.arcl[1].left, 2) << "top to bottom, left to right";
    EXPECT_FALSE(CLIPOBJ_bEnum(clip, sizeof(batch), reinterpret_cast<ULONG*>(&batch)));
    EXPECT_EQ(batch.c, 1u);
    EXPECT_EQ(batch.arcl[0].top, 5);
    CLIPOBJ foreign = *clip;
    EXPECT_EQ(CLIPOBJ_cEnumStart(&foreign, FALSE, CT_RECTANGLES, CD_ANY, 0), 0u);
    winsim_clip_delete(clip);

    const uint32_t colors[] = {0xFFFFFF, 0x000000};
    XLATEOBJ* xlate = static_cast<XLATEOBJ*>(winsim_xlate_create(PAL_INDEXED, colors, 2, nullptr));
    ULONG out[2] = {7, 7};
    EXPECT_EQ(XLATEOBJ_cGetPalette(xlate, XO_SRCPALETTE, 0, nullptr), 2u);
    EXPECT_EQ(XLATEOBJ_cGetPalette(xlate, XO_SRCPALETTE, 1, out), 1u);
    EXPECT_EQ(out[0], 0xFFFFFFu);
    EXPECT_EQ(out[1], 7u);
    EXPECT_EQ(XLATEOBJ_cGetPalette(xlate, XO_DESTPALETTE, 2, out), 0u) << "no indexed destination";
    XLATEOBJ stranger = *xlate;
    EXPECT_EQ(XLATEOBJ_cGetPalette(&stranger, XO_SRCPALETTE, 2, out), 0u);
    winsim_xlate_delete(xlate);

    BRUSHOBJ* plain =
        static_cast<BRUSHOBJ*>(winsim_brush_create(0xFFFFFFFF, 0x808080, 0x80808080, nullptr, nullptr));
    EXPECT_EQ(BRUSHOBJ_pvGetRbrush(plain), nullptr) << "a driver without DrvRealizeBrush";
    void* block = BRUSHOBJ_pvAllocRbrush(plain, 12);
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(plain->pvRbrush, block);
    EXPECT_EQ(BRUSHOBJ_pvGetRbrush(plain), block);
    BRUSHOBJ stack = {};
    EXPECT_EQ(BRUSHOBJ_pvAllocRbrush(&stack, 12), nullptr) << "only the engine's brushes carry realisations";
    winsim_brush_delete(plain);
}

} // namespace
