// The drawing the driver does or arranges itself on the 1-bit surface: the two-step halftoning of colour
// sources, the dither fills of brushes with a grey level, and profile B's dither colours and brush
// realisation.
#include "drawing_fixture.h"

#include "os_version.h"

#include <string>

namespace {

constexpr bool kGreyLevels = kHeadCount == 1;

class DrawingFill : public DrawingTest {
  protected:
    PDEV* OpenMono(LONG colorText = 1) {
        return Open(SurfaceKind::Mono, [&](DRVDEVMODE* rec) { rec->Private.ColorText = colorText; });
    }
    // The band's pixel at (x, y): 1 white, 0 black.
    int Pixel(LONG x, LONG y) {
        const BYTE* row = static_cast<const BYTE*>(Band()->pvScan0) + static_cast<size_t>(y) * Band()->lDelta;
        return (row[x / 8] >> (7 - x % 8)) & 1;
    }
    // Black pixels of the band inside and outside a rectangle.
    std::pair<int, int> BlackInAndOut(const RECTL& r) {
        int in = 0;
        int out = 0;
        for (LONG y = 0; y < Band()->sizlBitmap.cy; ++y) {
            for (LONG x = 0; x < Band()->sizlBitmap.cx; ++x) {
                if (!Pixel(x, y)) {
                    (x >= r.left && x < r.right && y >= r.top && y < r.bottom ? in : out)++;
                }
            }
        }
        return {in, out};
    }
};

// A colour source through a raster operation on the 1-bit surface: the engine halftones it into a 1-bit
// bitmap of the destination's size (rows of whole bytes), which then goes onto the band with the
// caller's operation; the bitmap is gone afterwards.
TEST_F(DrawingFill, StretchBltRopHalftonesInTwoSteps) {
    ASSERT_NE(OpenMono(), nullptr);
    pdev_->Options.OsVersionCode = OSCODE_XP;
    std::vector<BYTE> black(static_cast<size_t>(72) * 10, 0);
    SURFOBJ* source =
        static_cast<SURFOBJ*>(winsim_bitmap_create(24, 10, BMF_24BPP, black.data(), 72, nullptr, 0));
    EngineClip clip(DC_RECT, {0, 0, 100, 100});
    EngineXlate xlate(PAL_BGR, {});
    COLORADJUSTMENT ca = pdev_->Options.ColorAdjust;
    POINTL origin = {1, 1};
    RECTL dest = {2, 3, 22, 8};
    RECTL from = {0, 0, 24, 10};
    BRUSHOBJ brush = {};
    const uint32_t objects = winsim_engine_objects();
    winsim_log_clear();
    FillBand(0xFF);
    EXPECT_TRUE(DrvStretchBltROP(Page(), source, nullptr, clip.clip, xlate.xlate, &ca, &origin, &dest, &from,
                                 nullptr, COLORONCOLOR, &brush, 0xCCCC));
    EXPECT_EQ(LastLogLine("EngCreateBitmap "),
              "EngCreateBitmap cx=20 cy=5 width=3 format=1 flags=0x00000001");
    const std::vector<winsim_draw_call> calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    const winsim_draw_call& first = calls[0];
    EXPECT_STREQ(first.service, "EngStretchBlt");
    EXPECT_NE(first.target, Band()->hsurf);
    EXPECT_EQ(first.source, source->hsurf);
    EXPECT_EQ(first.clip, nullptr);
    EXPECT_EQ(first.xlate, xlate.xlate);
    EXPECT_EQ(first.color_adjust, &ca);
    EXPECT_EQ(first.origin.x, 1);
    EXPECT_EQ(first.dest.right, 20);
    EXPECT_EQ(first.dest.bottom, 5);
    EXPECT_EQ(first.source_rect.right, 24);
    EXPECT_EQ(first.mode, static_cast<uint32_t>(HALFTONE));
    const winsim_draw_call& second = calls[1];
    EXPECT_STREQ(second.service, "EngStretchBltROP");
    EXPECT_EQ(second.target, Band()->hsurf);
    EXPECT_EQ(second.source, first.target);
    EXPECT_EQ(second.clip, clip.clip);
    EXPECT_EQ(second.xlate, nullptr);
    EXPECT_EQ(second.brush, &brush);
    EXPECT_EQ(second.rop, 0xCCCCu);
    EXPECT_EQ(second.mode, static_cast<uint32_t>(HALFTONE));
    EXPECT_EQ(second.dest.left, 2);
    EXPECT_EQ(second.dest.bottom, 8);
    EXPECT_EQ(second.source_rect.right, 20);
    EXPECT_EQ(second.source_rect.bottom, 5);
    // The black source printed black exactly where it was asked to.
    EXPECT_EQ(BlackInAndOut(dest), std::make_pair(100, 0));
    EXPECT_EQ(winsim_engine_objects(), objects) << "the temporary bitmap was left behind";

    // From Vista on the engine halftones a plain source copy itself.
    pdev_->Options.OsVersionCode = OSCODE_VISTA;
    winsim_draw_clear();
    EXPECT_TRUE(DrvStretchBltROP(Page(), source, nullptr, clip.clip, xlate.xlate, &ca, &origin, &dest, &from,
                                 nullptr, COLORONCOLOR, &brush, 0xCCCC));
    ASSERT_EQ(winsim_draw_count(), 1u);
    EXPECT_EQ(Last().source, source->hsurf);
    EXPECT_EQ(Last().mode, static_cast<uint32_t>(HALFTONE));
    // Any other operation still takes the two steps.
    winsim_draw_clear();
    EXPECT_TRUE(DrvStretchBltROP(Page(), source, nullptr, clip.clip, xlate.xlate, &ca, &origin, &dest, &from,
                                 nullptr, COLORONCOLOR, &brush, 0x8888));
    EXPECT_EQ(winsim_draw_count(), 2u);
    winsim_bitmap_delete(source);
}

// Each failure of the two steps fails the hook, leaves nothing behind and stops before the band.
TEST_F(DrawingFill, TwoStepFailures) {
    ASSERT_NE(OpenMono(), nullptr);
    pdev_->Options.OsVersionCode = OSCODE_XP;
    EngineBitmap source(24, 10, BMF_24BPP);
    RECTL dest = {2, 3, 22, 8};
    RECTL from = {0, 0, 24, 10};
    const struct {
        const char* Fail; // the service that fails, or nullptr
        bool Dest;
        size_t Calls;
    } rows[] = {
        {nullptr, false, 0},         {"EngCreateBitmap", true, 0}, {"EngAssociateSurface", true, 0},
        {"EngLockSurface", true, 0}, {"EngStretchBlt", true, 1},   {"EngStretchBltROP", true, 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Fail ? r.Fail : "no destination");
        const uint32_t objects = winsim_engine_objects();
        winsim_draw_clear();
        if (r.Fail) {
            winsim_fail_next(r.Fail, 1);
        }
        EXPECT_FALSE(DrvStretchBltROP(Page(), source.so, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      r.Dest ? &dest : nullptr, &from, nullptr, HALFTONE, nullptr, 0xCCCC));
        EXPECT_EQ(winsim_draw_count(), r.Calls);
        EXPECT_EQ(winsim_engine_objects(), objects);
        winsim_clear_faults();
    }
}

// DrvBitBlt halftones colour sources of the copying operations in the same two steps, from the source
// point, with the device's colour adjustment and origin (0, 0); other sources and operations, and a
// device without pattern fills, go to EngBitBlt.
TEST_F(DrawingFill, BitBltHalftonesColourSourcesInTwoSteps) {
    ASSERT_NE(OpenMono(), nullptr);
    EngineBitmap color(24, 10, BMF_24BPP);
    EngineBitmap mono(24, 10, BMF_1BPP);
    RECTL dest = {0, 0, 8, 4};
    POINTL from = {4, 2};
    POINTL origin = {5, 5};
    for (ROP4 rop : {kRopSrcCopy, kRopSrcAnd, kRopSrcPaint}) {
        winsim_draw_clear();
        EXPECT_TRUE(DrvBitBlt(Page(), color.so, nullptr, nullptr, nullptr, &dest, &from, nullptr, nullptr,
                              &origin, rop));
        const std::vector<winsim_draw_call> calls = Calls();
        ASSERT_EQ(calls.size(), 2u) << std::hex << rop;
        EXPECT_EQ(calls[0].source_rect.left, 4);
        EXPECT_EQ(calls[0].source_rect.top, 2);
        EXPECT_EQ(calls[0].source_rect.right, 12);
        EXPECT_EQ(calls[0].source_rect.bottom, 6);
        EXPECT_EQ(calls[0].origin.x, 0);
        EXPECT_EQ(calls[0].color_adjust, &pdev_->Options.ColorAdjust);
        EXPECT_EQ(calls[1].rop, rop);
    }
    EXPECT_FALSE(DrvBitBlt(Page(), color.so, nullptr, nullptr, nullptr, nullptr, &from, nullptr, nullptr,
                           nullptr, kRopSrcCopy));
    const struct {
        const char* Name;
        SURFOBJ* Source;
        ROP4 Rop;
    } direct[] = {{"1-bpp source", mono.so, kRopSrcCopy}, {"inverting", color.so, 0x6666}};
    for (const auto& r : direct) {
        winsim_draw_clear();
        EXPECT_TRUE(DrvBitBlt(Page(), r.Source, nullptr, nullptr, nullptr, &dest, &from, nullptr, nullptr,
                              nullptr, r.Rop));
        ASSERT_EQ(winsim_draw_count(), 1u) << r.Name;
        EXPECT_STREQ(Last().service, "EngBitBlt");
    }
    ASSERT_NE(OpenMono(0), nullptr);
    EngineBitmap again(24, 10, BMF_24BPP);
    EXPECT_TRUE(DrvBitBlt(Page(), again.so, nullptr, nullptr, nullptr, &dest, &from, nullptr, nullptr,
                          nullptr, kRopSrcCopy));
    EXPECT_STREQ(Last().service, "EngBitBlt");
}

// A pattern copy of a brush with a grey level: through a trivial clip the destination rectangle gets the
// level's dither pattern; through any other clip only where clip and destination meet.
TEST_F(DrawingFill, PatternCopiesOfGreyBrushesAreDitherFilled) {
    ASSERT_NE(OpenMono(), nullptr);
    GreyBrush black(0, 0);
    EngineClip trivial(DC_TRIVIAL, {});
    EngineClip wide(DC_RECT, {0, 0, 64, 64});
    EngineClip partly(DC_COMPLEX, {0, 0, 12, 1, 14, 0, 64, 1});
    const struct {
        const char* Name;
        CLIPOBJ* Clip;
        RECTL Dest;
        int Black;
    } rows[] = {
        {"trivial clip", trivial.clip, {0, 0, 8, 2}, 16},
        {"clip wider than the destination", wide.clip, {8, 0, 16, 1}, 8},
        {"two clip rectangles", partly.clip, {8, 0, 16, 1}, 6},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Name);
        FillBand(0xFF);
        winsim_draw_clear();
        RECTL dest = r.Dest;
        EXPECT_TRUE(DrvBitBlt(Page(), nullptr, nullptr, r.Clip, nullptr, &dest, nullptr, nullptr,
                              &black.brush, nullptr, 0xF0F0));
        if (kGreyLevels) {
            // Level 0 of every pattern is black.
            EXPECT_EQ(winsim_draw_count(), 0u) << "the driver fills it itself";
            EXPECT_EQ(BlackInAndOut(r.Dest), std::make_pair(r.Black, 0));
        } else {
            EXPECT_STREQ(Last().service, "EngBitBlt");
        }
    }
    // A brush without a grey level is the engine's to fill.
    BRUSHOBJ plain = {0, nullptr, 0};
    RECTL dest = {0, 0, 8, 2};
    FillBand(0xFF);
    winsim_draw_clear();
    EXPECT_TRUE(DrvBitBlt(Page(), nullptr, nullptr, wide.clip, nullptr, &dest, nullptr, nullptr, &plain,
                          nullptr, 0xF0F0));
    EXPECT_STREQ(Last().service, "EngBitBlt");
    EXPECT_EQ(BlackInAndOut(dest), std::make_pair(16, 0));
}

// DrvPaint with copy pen through a clip that is not trivial fills every clip rectangle; other paints,
// and a device without pattern fills, reach EngPaint.
TEST_F(DrawingFill, PaintFillsClipRectangles) {
    ASSERT_NE(OpenMono(), nullptr);
    GreyBrush black(0, 0);
    EngineClip rect(DC_RECT, {8, 0, 16, 2});
    EngineClip complex(DC_COMPLEX, {0, 0, 4, 1, 8, 3, 12, 4});
    FillBand(0xFF);
    EXPECT_TRUE(DrvPaint(Page(), rect.clip, &black.brush, nullptr, 0x0D0D));
    EXPECT_TRUE(DrvPaint(Page(), complex.clip, &black.brush, nullptr, 0x0D0D));
    if (kGreyLevels) {
        EXPECT_EQ(winsim_draw_count(), 0u);
    }
    // Both ways the same pixels are black: the driver's pattern of level 0 and the engine's black.
    EXPECT_EQ(BlackInAndOut({8, 0, 16, 2}).first, 16);
    EXPECT_EQ(BlackInAndOut({0, 0, 16, 4}).first, 24);
    EXPECT_EQ(BlackInAndOut({0, 0, 16, 4}).second, 0);
    winsim_draw_clear();
    EXPECT_TRUE(DrvPaint(Page(), rect.clip, &black.brush, nullptr, 0x0606));
    EXPECT_STREQ(Last().service, "EngPaint");
    EXPECT_EQ(Last().brush, &black.brush);
    ASSERT_NE(OpenMono(0), nullptr);
    EngineClip again(DC_RECT, {8, 0, 16, 2});
    EXPECT_TRUE(DrvPaint(Page(), again.clip, &black.brush, nullptr, 0x0D0D));
    EXPECT_STREQ(Last().service, "EngPaint");
}

#if defined(KT_PROFILE_B)

// DrvDitherColor: the grey surface answers the grey level itself, the 1-bit surface the level's pattern
// of set 1 as a 32 x 16 cell, the colour surfaces and PatternMode 2 leave it to the engine.
TEST_F(DrawingFill, DitherColor) {
    ASSERT_NE(Open(SurfaceKind::Grey), nullptr);
    ULONG out[16] = {};
    out[0] = 0xDEAD;
    EXPECT_EQ(DrvDitherColor(reinterpret_cast<DHPDEV>(pdev_), 0, 0x00FFFFFF, out),
              static_cast<ULONG>(DCR_DRIVER));
    EXPECT_EQ(out[0], 255u);
    EXPECT_EQ(DrvDitherColor(reinterpret_cast<DHPDEV>(pdev_), 0, 0x00808080, out),
              static_cast<ULONG>(DCR_DRIVER));
    EXPECT_EQ(out[0], 128u);

    ASSERT_NE(Open(SurfaceKind::Mono), nullptr);
    EXPECT_EQ(DrvDitherColor(reinterpret_cast<DHPDEV>(pdev_), 0, 0x00404040, out),
              static_cast<ULONG>(DCR_DRIVER));
    const BYTE* pattern = pdev_->PatternSet1 + 64 * kPatternBytes;
    for (int r = 0; r < 16; ++r) {
        const BYTE expected[4] = {pattern[2 * r], pattern[2 * r + 1], pattern[2 * r], pattern[2 * r + 1]};
        EXPECT_EQ(std::memcmp(&out[r], expected, 4), 0) << "row " << r;
    }
    // Before the surface exists the pattern is built on the spot, the same.
    ULONG early[16] = {};
    auto rec = JobSettings();
    PDEV* bare = Enable(rec.get());
    ASSERT_NE(bare, nullptr);
    ASSERT_EQ(bare->PatternSet1, nullptr);
    EXPECT_EQ(DrvDitherColor(reinterpret_cast<DHPDEV>(bare), 0, 0x00404040, early),
              static_cast<ULONG>(DCR_DRIVER));
    EXPECT_EQ(std::memcmp(early, out, sizeof(out)), 0);

    ASSERT_NE(Open(SurfaceKind::Color), nullptr);
    EXPECT_EQ(DrvDitherColor(reinterpret_cast<DHPDEV>(pdev_), 0, 0x00404040, out),
              static_cast<ULONG>(DCR_SOLID));
    ASSERT_NE(Open(SurfaceKind::Mono, [](DRVDEVMODE* r) { r->Private.PatternMode = 2; }), nullptr);
    EXPECT_EQ(DrvDitherColor(reinterpret_cast<DHPDEV>(pdev_), 0, 0x00404040, out),
              static_cast<ULONG>(DCR_HALFTONE));
    SetLastError(0);
    EXPECT_EQ(DrvDitherColor(nullptr, 0, 0, out), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// DrvRealizeBrush keeps the grey of dither-colour requests in a 12-byte realisation of the engine's;
// BRUSHOBJ_pvGetRbrush asks for it when a hook needs a brush's grey.
TEST_F(DrawingFill, RealizeBrushKeepsTheGreyOfDitherColours) {
    ASSERT_NE(Open(SurfaceKind::Grey), nullptr);
    auto realize = reinterpret_cast<winsim_realize_brush>(&DrvRealizeBrush);
    void* brush = winsim_brush_create(0xFFFFFFFF, 0x404040, RB_DITHERCOLOR | 0x404040, realize, Page());
    auto* pbo = static_cast<BRUSHOBJ*>(brush);
    EXPECT_TRUE(DrvFillPath(Page(), nullptr, nullptr, pbo, nullptr, 0x0D0D, 0));
    EXPECT_EQ(Last().brush_color, 64u) << "realised on demand, grey 64 substituted";
    ASSERT_NE(pbo->pvRbrush, nullptr);
    const auto* record = static_cast<const REALIZEDBRUSH*>(pbo->pvRbrush);
    EXPECT_EQ(record->Color, RB_DITHERCOLOR | 0x404040u);
    EXPECT_EQ(record->Grey, 64u);
    EXPECT_EQ(record->Valid, 1u);
    winsim_brush_delete(brush);

    const struct {
        const char* Name;
        ULONG Hatch;
        const char* Fail;
        SURFOBJ* Target;
        DWORD Error;
    } refused[] = {
        {"a hatch", 3, nullptr, Page(), ERROR_INVALID_PARAMETER},
        {"all bits", 0xFFFFFFFF, nullptr, Page(), ERROR_INVALID_PARAMETER},
        {"no memory", RB_DITHERCOLOR, "BRUSHOBJ_pvAllocRbrush", Page(), ERROR_INSUFFICIENT_BUFFER},
        {"foreign device", RB_DITHERCOLOR, nullptr, Foreign(), ERROR_INVALID_PARAMETER},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.Name);
        void* b = winsim_brush_create(0xFFFFFFFF, 0, r.Hatch, nullptr, nullptr);
        if (r.Fail) {
            winsim_fail_next(r.Fail, 1);
        }
        SetLastError(0);
        EXPECT_FALSE(
            DrvRealizeBrush(static_cast<BRUSHOBJ*>(b), r.Target, nullptr, nullptr, nullptr, r.Hatch));
        EXPECT_EQ(GetLastError(), r.Error);
        winsim_brush_delete(b);
    }
    ASSERT_NE(Open(SurfaceKind::Color), nullptr);
    void* b = winsim_brush_create(0xFFFFFFFF, 0, RB_DITHERCOLOR, nullptr, nullptr);
    EXPECT_FALSE(
        DrvRealizeBrush(static_cast<BRUSHOBJ*>(b), Page(), nullptr, nullptr, nullptr, RB_DITHERCOLOR));
    winsim_brush_delete(b);
}

#endif

} // namespace
