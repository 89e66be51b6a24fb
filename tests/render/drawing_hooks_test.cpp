// What the drawing hooks hand on to the engine: surfaces, band-relative origins, stretch modes, grey
// levels in place of colours, clipped copies, the two-step halftoning, and what they draw themselves.
#include "drawing_fixture.h"

#include "os_version.h"

#include <cstring>
#include <string>

namespace {

constexpr bool kGreyLevels = kHeadCount == 1; // only profile B realises brushes with a grey level

// Every hook that takes an origin, called with `origin`; the recorded origin is what the engine got.
struct OriginHook {
    const char* Name;
    std::function<BOOL(SURFOBJ*, POINTL*)> Call;
};

std::vector<OriginHook> OriginHooks(BRUSHOBJ* brush, SURFOBJ* source) {
    static RECTL rect = {0, 0, 4, 4};
    static POINTFIX corners[3] = {{0, 0}, {64, 0}, {0, 64}};
    static TRIVERTEX vertices[2] = {{0, 0, 0, 0, 0, 0}, {4, 4, 0xFF00, 0xFF00, 0xFF00, 0}};
    static GRADIENT_RECT mesh = {0, 1};
    return {
        {"DrvBitBlt",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvBitBlt(so, nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr, brush, o,
                              0xF0F0);
         }},
        {"DrvStretchBlt",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvStretchBlt(so, source, nullptr, nullptr, nullptr, nullptr, o, &rect, &rect, nullptr,
                                  COLORONCOLOR);
         }},
        {"DrvStretchBltROP",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvStretchBltROP(so, source, nullptr, nullptr, nullptr, nullptr, o, &rect, &rect, nullptr,
                                     COLORONCOLOR, brush, 0xCCCC);
         }},
        {"DrvPlgBlt",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvPlgBlt(so, source, nullptr, nullptr, nullptr, nullptr, o, corners, &rect, nullptr,
                              COLORONCOLOR);
         }},
        {"DrvGradientFill",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvGradientFill(so, nullptr, nullptr, vertices, 2, &mesh, 1, &rect, o,
                                    GRADIENT_FILL_RECT_H);
         }},
        {"DrvStrokePath",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvStrokePath(so, nullptr, nullptr, nullptr, brush, o, nullptr, 0x0D0D);
         }},
        {"DrvFillPath",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvFillPath(so, nullptr, nullptr, brush, o, 0x0D0D, FP_ALTERNATEMODE);
         }},
        {"DrvStrokeAndFillPath",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvStrokeAndFillPath(so, nullptr, nullptr, nullptr, brush, nullptr, brush, o, 0x0D0D,
                                         FP_ALTERNATEMODE);
         }},
        {"DrvPaint", [=](SURFOBJ* so, POINTL* o) { return DrvPaint(so, nullptr, brush, o, 0x0D0D); }},
        {"DrvTextOut",
         [=](SURFOBJ* so, POINTL* o) {
             return DrvTextOut(so, nullptr, nullptr, nullptr, nullptr, nullptr, brush, nullptr, o, 0x0D0D);
         }},
    };
}

class DrawingHooks : public DrawingTest {};

// On the grey and 24-bit surfaces an origin of the page becomes one of the band; a point with a negative
// coordinate, every point on the 1-bit surface and every call for a device the driver does not know go
// on as they came.
TEST_F(DrawingHooks, OriginsBecomeBandRelative) {
    const struct {
        SurfaceKind Kind;
        POINTL Given;
        POINTL Expected;
        bool ForeignDevice;
    } rows[] = {
        {SurfaceKind::Color, {3, 5}, {3, -1019}, false}, {SurfaceKind::Color, {-3, 5}, {-3, 5}, false},
        {SurfaceKind::Color, {3, -5}, {3, -5}, false},   {SurfaceKind::Grey, {3, 5}, {3, -1019}, false},
        {SurfaceKind::Grey, {0, 1024}, {0, 0}, false},   {SurfaceKind::Mono, {3, 5}, {3, 5}, false},
        {SurfaceKind::Color, {3, 5}, {3, 5}, true},
    };
    BRUSHOBJ brush = {};
    for (const auto& r : rows) {
        ASSERT_NE(Open(r.Kind), nullptr);
        pdev_->BandOrigin = {0, 1024};
        SURFOBJ* source = Band();
        for (const OriginHook& hook : OriginHooks(&brush, source)) {
            SCOPED_TRACE(testing::Message()
                         << hook.Name << ", surface " << static_cast<int>(r.Kind) << ", (" << r.Given.x
                         << ", " << r.Given.y << ")" << (r.ForeignDevice ? ", foreign device" : ""));
            POINTL given = r.Given;
            winsim_draw_clear();
            hook.Call(r.ForeignDevice ? Foreign() : Page(), &given);
            const winsim_draw_call call = Last();
            ASSERT_TRUE(call.given & WINSIM_DRAW_ORIGIN);
            EXPECT_EQ(call.origin.x, r.Expected.x);
            EXPECT_EQ(call.origin.y, r.Expected.y);
            EXPECT_EQ(given.x, r.Given.x) << "the caller's point was changed";
            EXPECT_EQ(call.target, r.ForeignDevice ? pdev_->DeviceSurface : Band()->hsurf);
        }
    }
}

// Calls in a band that is not in use draw nothing and succeed.
TEST_F(DrawingHooks, BandNotInUseDrawsNothing) {
    for (SurfaceKind kind : {SurfaceKind::Mono, SurfaceKind::Grey, SurfaceKind::Color}) {
        ASSERT_NE(Open(kind), nullptr);
        pdev_->Bands[pdev_->CurrentBand].Flags &= ~BAND_IN_USE;
        FillBand(0x5A);
        const std::vector<BYTE> before = BandBytes();
        GreyBrush grey(0);
        RECTL rect = {0, 0, 16, 4};
        POINTL zero = {0, 0};
        for (const OriginHook& hook : OriginHooks(&grey.brush, Band())) {
            SCOPED_TRACE(hook.Name);
            EXPECT_TRUE(hook.Call(Page(), &zero));
        }
        EXPECT_TRUE(DrvCopyBits(Page(), Band(), nullptr, nullptr, &rect, &zero));
        EXPECT_TRUE(DrvLineTo(Page(), nullptr, &grey.brush, 0, 0, 10, 0, &rect, 0x0D0D));
        EXPECT_TRUE(DrvAlphaBlend(Page(), Band(), nullptr, nullptr, &rect, &rect, nullptr));
        EXPECT_TRUE(DrvTransparentBlt(Page(), Band(), nullptr, nullptr, &rect, &rect, 0, 0));
        EXPECT_EQ(winsim_draw_count(), 0u);
        EXPECT_EQ(BandBytes(), before);
    }
}

// The stretch mode of colour images: the setting decides, or under setting 0 the surface and the source.
TEST_F(DrawingHooks, StretchModeChoice) {
    const struct {
        LONG Setting;
        LONG Depth;
        ULONG Caller;
        bool BlackAndWhite;
        ULONG Expected;
    } rows[] = {
        {HTMODE_CALLER, DEPTH_1BPP, BLACKONWHITE, false, BLACKONWHITE},
        {HTMODE_HALFTONE, DEPTH_RGB, COLORONCOLOR, true, HALFTONE},
        {HTMODE_COLORONCOLOR, DEPTH_GREY, HALFTONE, false, COLORONCOLOR},
        {HTMODE_DRIVER, DEPTH_RGB, COLORONCOLOR, false, COLORONCOLOR},
        {HTMODE_DRIVER, DEPTH_BGR, BLACKONWHITE, false, BLACKONWHITE},
        {HTMODE_DRIVER, DEPTH_1BPP, COLORONCOLOR, false, HALFTONE},
        {HTMODE_DRIVER, DEPTH_GREY, COLORONCOLOR, false, HALFTONE},
        {HTMODE_DRIVER, DEPTH_1BPP, COLORONCOLOR, true, COLORONCOLOR},
        {HTMODE_DRIVER, DEPTH_GREY, HALFTONE, true, HALFTONE},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ChooseStretchMode(r.Setting, r.Depth, r.Caller, r.BlackAndWhite), r.Expected)
            << r.Setting << " " << r.Depth << " " << r.Caller << " " << r.BlackAndWhite;
    }
}

// Black and white means a 1-bpp source whose translation's source palette is black and white, in either
// order: (black, black), a missing translation and a deeper source are not.
TEST_F(DrawingHooks, BlackAndWhiteSourcesKeepTheCallersModeOnTheMonoSurface) {
    ASSERT_NE(Open(SurfaceKind::Mono), nullptr);
    EngineBitmap mono(16, 16, BMF_1BPP);
    EngineBitmap color(16, 16, BMF_24BPP);
    EngineXlate blackWhite(PAL_INDEXED, {0x000000, 0xFFFFFF});
    EngineXlate whiteBlack(PAL_INDEXED, {0xFFFFFF, 0x000000});
    EngineXlate blackBlack(PAL_INDEXED, {0x000000, 0x000000});
    EngineXlate greyWhite(PAL_INDEXED, {0x808080, 0xFFFFFF});
    const struct {
        const char* Name;
        SURFOBJ* Source;
        XLATEOBJ* Xlate;
        ULONG Expected;
    } rows[] = {
        {"black, white", mono.so, blackWhite.xlate, COLORONCOLOR},
        {"white, black", mono.so, whiteBlack.xlate, COLORONCOLOR},
        {"black, black", mono.so, blackBlack.xlate, HALFTONE},
        {"grey, white", mono.so, greyWhite.xlate, HALFTONE},
        {"no translation", mono.so, nullptr, HALFTONE},
        {"24 bpp", color.so, blackWhite.xlate, HALFTONE},
    };
    RECTL rect = {0, 0, 16, 16};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Name);
        EXPECT_EQ(IsBlackAndWhite(r.Source, r.Xlate), r.Expected == COLORONCOLOR);
        EXPECT_TRUE(DrvStretchBlt(Page(), r.Source, nullptr, nullptr, r.Xlate, nullptr, nullptr, &rect, &rect,
                                  nullptr, COLORONCOLOR));
        EXPECT_EQ(Last().mode, r.Expected);
    }
}

// DrvStretchBlt and DrvPlgBlt pass the device's colour adjustment when the caller gives none;
// DrvStretchBltROP passes the caller's as it is. DrvPlgBlt halftones unless the setting keeps the
// caller's mode.
TEST_F(DrawingHooks, ColourAdjustmentAndPlgBltMode) {
    for (LONG setting : {HTMODE_DRIVER, HTMODE_CALLER, HTMODE_HALFTONE, HTMODE_COLORONCOLOR}) {
        SCOPED_TRACE(setting);
        ASSERT_NE(Open(SurfaceKind::Color, [&](DRVDEVMODE* rec) { rec->Private.RenderModeB = setting; }),
                  nullptr);
        EngineBitmap source(8, 8, BMF_24BPP);
        RECTL rect = {0, 0, 8, 8};
        POINTFIX corners[3] = {{0, 0}, {128, 0}, {0, 128}};
        COLORADJUSTMENT mine = pdev_->Options.ColorAdjust;
        mine.caContrast = 7;
        EXPECT_TRUE(DrvPlgBlt(Page(), source.so, nullptr, nullptr, nullptr, nullptr, nullptr, corners, &rect,
                              nullptr, BLACKONWHITE));
        EXPECT_EQ(Last().mode, static_cast<uint32_t>(setting == HTMODE_CALLER ? BLACKONWHITE : HALFTONE));
        EXPECT_EQ(Last().color_adjust, &pdev_->Options.ColorAdjust);
        EXPECT_TRUE(DrvStretchBlt(Page(), source.so, nullptr, nullptr, nullptr, &mine, nullptr, &rect, &rect,
                                  nullptr, COLORONCOLOR));
        EXPECT_EQ(Last().color_adjust, &mine);
        EXPECT_TRUE(DrvStretchBlt(Page(), source.so, nullptr, nullptr, nullptr, nullptr, nullptr, &rect,
                                  &rect, nullptr, COLORONCOLOR));
        EXPECT_EQ(Last().color_adjust, &pdev_->Options.ColorAdjust);
        EXPECT_EQ(Last().color_adjust_values[1], 10000); // caRedGamma of the neutral adjustment
        EXPECT_TRUE(DrvStretchBltROP(Page(), source.so, nullptr, nullptr, nullptr, nullptr, nullptr, &rect,
                                     &rect, nullptr, COLORONCOLOR, nullptr, 0xCCCC));
        EXPECT_EQ(Last().color_adjust, nullptr);
    }
}

// DrvCopyBits takes the destination's size at the source point, cut to the source bitmap, and moves the
// destination's right and bottom with it; a colour source on a surface that is not 24-bit, or settings 2
// and 3, make it a same-size stretch.
TEST_F(DrawingHooks, CopyBitsClipsAtTheSourceEdges) {
    const struct {
        const char* Name;
        SurfaceKind Kind;
        LONG Setting;
        POINTL From;
        const char* Service;
        RECTL Dest;
        RECTL Source;
        ULONG Mode;
    } rows[] = {
        {"inside", SurfaceKind::Color, 0, {2, 1}, "EngCopyBits", {10, 10, 20, 15}, {2, 1, 12, 6}, 0},
        {"past right and bottom",
         SurfaceKind::Color,
         0,
         {8, 4},
         "EngCopyBits",
         {10, 10, 18, 14},
         {8, 4, 16, 8},
         0},
        {"setting 2",
         SurfaceKind::Color,
         2,
         {8, 4},
         "EngStretchBlt",
         {10, 10, 18, 14},
         {8, 4, 16, 8},
         HALFTONE},
        {"setting 3",
         SurfaceKind::Color,
         3,
         {8, 4},
         "EngStretchBlt",
         {10, 10, 18, 14},
         {8, 4, 16, 8},
         COLORONCOLOR},
        {"1-bit surface",
         SurfaceKind::Mono,
         0,
         {8, 4},
         "EngStretchBlt",
         {10, 10, 18, 14},
         {8, 4, 16, 8},
         HALFTONE},
        {"grey surface",
         SurfaceKind::Grey,
         1,
         {8, 4},
         "EngStretchBlt",
         {10, 10, 18, 14},
         {8, 4, 16, 8},
         HALFTONE},
        {"before left and top",
         SurfaceKind::Color,
         0,
         {-3, -2},
         "EngCopyBits",
         {13, 12, 20, 15},
         {0, 0, 7, 3},
         0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Name);
        ASSERT_NE(Open(r.Kind, [&](DRVDEVMODE* rec) { rec->Private.RenderModeB = r.Setting; }), nullptr);
        EngineBitmap source(16, 8, BMF_24BPP);
        RECTL dest = {10, 10, 20, 15};
        POINTL from = r.From;
        EXPECT_TRUE(DrvCopyBits(Page(), source.so, nullptr, nullptr, &dest, &from));
        const winsim_draw_call call = Last();
        EXPECT_STREQ(call.service, r.Service);
        EXPECT_EQ(call.dest.left, r.Dest.left);
        EXPECT_EQ(call.dest.top, r.Dest.top);
        EXPECT_EQ(call.dest.right, r.Dest.right);
        EXPECT_EQ(call.dest.bottom, r.Dest.bottom);
        if (std::string(r.Service) == "EngCopyBits") {
            EXPECT_EQ(call.source_point.x, r.Source.left);
            EXPECT_EQ(call.source_point.y, r.Source.top);
        } else {
            EXPECT_EQ(call.source_rect.left, r.Source.left);
            EXPECT_EQ(call.source_rect.top, r.Source.top);
            EXPECT_EQ(call.source_rect.right, r.Source.right);
            EXPECT_EQ(call.source_rect.bottom, r.Source.bottom);
            EXPECT_EQ(call.mode, r.Mode);
            EXPECT_EQ(call.mask, nullptr);
            EXPECT_EQ(call.color_adjust, &pdev_->Options.ColorAdjust);
        }
    }
    // A source point past the bitmap leaves nothing to copy: no mirrored strip, no call.
    ASSERT_NE(Open(SurfaceKind::Color, [](DRVDEVMODE* rec) { rec->Private.RenderModeB = 2; }), nullptr);
    EngineBitmap source(16, 8, BMF_24BPP);
    RECTL dest = {0, 0, 4, 4};
    POINTL beyond = {20, 0};
    EXPECT_TRUE(DrvCopyBits(Page(), source.so, nullptr, nullptr, &dest, &beyond));
    EXPECT_EQ(winsim_draw_count(), 0u);
}

// A black-and-white source keeps a plain copy on the 1-bit surface.
TEST_F(DrawingHooks, CopyBitsOfBlackAndWhiteStaysACopy) {
    ASSERT_NE(Open(SurfaceKind::Mono), nullptr);
    EngineBitmap source(16, 8, BMF_1BPP);
    EngineXlate palette(PAL_INDEXED, {0xFFFFFF, 0x000000});
    RECTL dest = {0, 0, 16, 8};
    POINTL from = {0, 0};
    EXPECT_TRUE(DrvCopyBits(Page(), source.so, nullptr, palette.xlate, &dest, &from));
    EXPECT_STREQ(Last().service, "EngCopyBits");
    EXPECT_EQ(Last().xlate, palette.xlate);
}

// On the grey surface a brush with a grey level becomes a solid brush of it; lines and stroked paths
// print black unless white; a paint that leaves the destination alone and a pattern copy without a clip
// keep their brush; text keeps its grey, and the opaque brush changes only with an opaque rectangle.
TEST_F(DrawingHooks, GreySubstitutionAndTheLineArtRule) {
    ASSERT_NE(Open(SurfaceKind::Grey), nullptr);
    EngineClip clip(DC_RECT, {0, 0, 8, 8});
    RECTL rect = {0, 0, 8, 8};
    const struct {
        const char* Name;
        std::function<BOOL(BRUSHOBJ*)> Call;
        bool LineArt;
        bool Substituted;
    } rows[] = {
        {"DrvLineTo", [&](BRUSHOBJ* b) { return DrvLineTo(Page(), nullptr, b, 0, 0, 5, 0, &rect, 0x0D0D); },
         true, true},
        {"DrvStrokePath",
         [&](BRUSHOBJ* b) {
             return DrvStrokePath(Page(), nullptr, nullptr, nullptr, b, nullptr, nullptr, 0x0D0D);
         },
         true, true},
        {"DrvFillPath",
         [&](BRUSHOBJ* b) { return DrvFillPath(Page(), nullptr, nullptr, b, nullptr, 0x0D0D, 0); }, false,
         true},
        {"DrvPaint", [&](BRUSHOBJ* b) { return DrvPaint(Page(), clip.clip, b, nullptr, 0x0D0D); }, false,
         true},
        {"DrvPaint, leave alone",
         [&](BRUSHOBJ* b) { return DrvPaint(Page(), clip.clip, b, nullptr, 0x0B0B); }, false, false},
        {"DrvBitBlt, pattern copy",
         [&](BRUSHOBJ* b) {
             return DrvBitBlt(Page(), nullptr, nullptr, clip.clip, nullptr, &rect, nullptr, nullptr, b,
                              nullptr, 0xF0F0);
         },
         false, true},
        {"DrvBitBlt, no clip",
         [&](BRUSHOBJ* b) {
             return DrvBitBlt(Page(), nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr, b, nullptr,
                              0xF0F0);
         },
         false, false},
        {"DrvBitBlt, other operation",
         [&](BRUSHOBJ* b) {
             return DrvBitBlt(Page(), nullptr, nullptr, clip.clip, nullptr, &rect, nullptr, nullptr, b,
                              nullptr, 0x5A5A);
         },
         false, false},
        {"DrvTextOut",
         [&](BRUSHOBJ* b) {
             return DrvTextOut(Page(), nullptr, nullptr, nullptr, nullptr, nullptr, b, nullptr, nullptr,
                               0x0D0D);
         },
         false, true},
    };
    for (ULONG level : {0u, 128u, 254u, 255u}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << r.Name << ", grey " << level);
            GreyBrush grey(level);
            EXPECT_TRUE(r.Call(&grey.brush));
            const winsim_draw_call call = Last();
            const bool substituted = kGreyLevels && r.Substituted;
            const ULONG expected = !substituted ? 0xFFFFFFFF : (r.LineArt ? (level == 255 ? 255 : 0) : level);
            EXPECT_EQ(call.brush_color, expected);
            EXPECT_EQ(call.brush == &grey.brush, !substituted)
                << "a substitute is a copy of the caller's brush";
            EXPECT_EQ(grey.brush.iSolidColor, 0xFFFFFFFFu) << "the caller's brush was changed";
        }
    }
    // The opaque brush of text: substituted only with an opaque rectangle.
    GreyBrush fore(254);
    GreyBrush opaque(100);
    EXPECT_TRUE(DrvTextOut(Page(), nullptr, nullptr, nullptr, nullptr, nullptr, &fore.brush, &opaque.brush,
                           nullptr, 0x0D0D));
    EXPECT_EQ(Last().brush2_color, 0xFFFFFFFFu);
    EXPECT_TRUE(DrvTextOut(Page(), nullptr, nullptr, nullptr, nullptr, &rect, &fore.brush, &opaque.brush,
                           nullptr, 0x0D0D));
    EXPECT_EQ(Last().brush2_color, kGreyLevels ? 100u : 0xFFFFFFFFu);
    // A brush whose realisation is not valid has no grey level.
    GreyBrush invalid(77);
    invalid.record.Valid = 0;
    EXPECT_TRUE(DrvFillPath(Page(), nullptr, nullptr, &invalid.brush, nullptr, 0x0D0D, 0));
    EXPECT_EQ(Last().brush_color, 0xFFFFFFFFu);
}

// On the colour surfaces nothing is substituted.
TEST_F(DrawingHooks, ColourSurfacesKeepTheirBrushes) {
    ASSERT_NE(Open(SurfaceKind::Color), nullptr);
    GreyBrush grey(254, 0x0000FF);
    EXPECT_TRUE(DrvLineTo(Page(), nullptr, &grey.brush, 0, 0, 5, 0, nullptr, 0x0D0D));
    EXPECT_EQ(Last().brush, &grey.brush);
    EXPECT_EQ(Last().brush_color, 0x0000FFu);
}

// The driver dither fill of (0, 0, 8, 2) writes exactly one byte in each of the first two rows; a
// rectangle that starts inside a byte keeps the pixels outside it; one past the band's edges is cut.
TEST_F(DrawingHooks, DitherFillWritesOnlyTheRectangle) {
    ASSERT_NE(Open(SurfaceKind::Mono), nullptr);
    BYTE black[kPatternBytes] = {};
    const LONG stride = Band()->lDelta;
    const struct {
        RECTL Rect;
        std::vector<std::pair<size_t, BYTE>> Changed; // offset, new value; every other byte stays 0xFF
    } rows[] = {
        {{0, 0, 8, 2}, {{0, 0x00}, {static_cast<size_t>(stride), 0x00}}},
        {{3, 1, 13, 2}, {{static_cast<size_t>(stride), 0xE0}, {static_cast<size_t>(stride) + 1, 0x07}}},
        {{-20, -20, 1, 1}, {{0, 0x7F}}},
        {{8, 0, 8, 4}, {}}, // empty
        {{9, 3, 2, 1}, {}}, // inverted
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << r.Rect.left << "," << r.Rect.top << "," << r.Rect.right << "," << r.Rect.bottom);
        FillBand(0xFF);
        DitherFill(Band(), r.Rect, black);
        std::vector<BYTE> expected(BandBytes().size(), 0xFF);
        for (const auto& [offset, value] : r.Changed) {
            expected[offset] = value;
        }
        EXPECT_EQ(BandBytes(), expected);
    }
    // A rectangle reaching past the band's right and bottom edges fills up to them.
    FillBand(0xFF);
    DitherFill(Band(), {0, 0, 100000, 100000}, black);
    const SURFOBJ* so = Band();
    const LONG lastByte = (so->sizlBitmap.cx - 1) / 8;
    const BYTE* last =
        static_cast<const BYTE*>(so->pvScan0) + static_cast<size_t>(stride) * (so->sizlBitmap.cy - 1);
    EXPECT_EQ(last[0], 0x00);
    EXPECT_EQ(last[lastByte], static_cast<BYTE>(0xFF >> (so->sizlBitmap.cx - 8 * lastByte)));
}

// Pattern rows repeat every 16 rows, and their two bytes every two byte columns.
TEST_F(DrawingHooks, DitherFillTilesThePattern) {
    ASSERT_NE(Open(SurfaceKind::Mono), nullptr);
    BYTE pattern[kPatternBytes];
    for (int i = 0; i < kPatternBytes; ++i) {
        pattern[i] = static_cast<BYTE>(i + 1);
    }
    FillBand(0xFF);
    DitherFill(Band(), {0, 0, 32, 18}, pattern);
    const BYTE* bits = static_cast<const BYTE*>(Band()->pvScan0);
    const LONG stride = Band()->lDelta;
    for (int y : {0, 5, 15, 16, 17}) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(bits[static_cast<size_t>(y) * stride + k], pattern[2 * (y % 16) + k % 2])
                << y << " " << k;
        }
    }
}

} // namespace
