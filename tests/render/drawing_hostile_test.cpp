// Drawing calls no application should make: null, empty and foreign clip objects, rectangles far off the
// page or upside down, huge stretch factors, empty bitmaps. None may crash or draw outside the band, on
// any surface (the sanitizers watch the memory).
#include "drawing_fixture.h"

#include <climits>

namespace {

class HostileDrawing : public DrawingTest {};

TEST_F(HostileDrawing, NothingCrashesAndNothingLandsOffTheBand) {
    for (SurfaceKind kind : {SurfaceKind::Mono, SurfaceKind::Grey, SurfaceKind::Color}) {
        SCOPED_TRACE(static_cast<int>(kind));
        ASSERT_NE(Open(kind), nullptr);
        EngineBitmap source(8, 8, kind == SurfaceKind::Color ? BMF_24BPP : BMF_1BPP);
        EngineBitmap colour(8, 8, BMF_24BPP);
        EngineClip empty(DC_COMPLEX, {});
        EngineClip inverted(DC_RECT, {50, 50, 10, 10});
        CLIPOBJ foreign = {};
        foreign.iDComplexity = DC_COMPLEX;
        foreign.rclBounds = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
        CLIPOBJ emptyRect = {};
        emptyRect.iDComplexity = DC_RECT;
        emptyRect.rclBounds = {5, 5, 5, 5};
        GreyBrush grey(0, 0);
        BRUSHOBJ unknown = {0xFFFFFFFF, nullptr, 0};
        CLIPOBJ* clips[] = {nullptr, empty.clip, inverted.clip, &foreign, &emptyRect};
        RECTL rects[] = {
            {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
            {1000000000, 1000000000, 1000000010, 1000000010},
            {30, 30, 2, 2},
            {-100, -100, -1, -1},
            {0, 0, 0, 0},
        };
        RECTL sources[] = {
            {0, 0, 8, 8}, {0, 0, 1, 1}, {8, 8, 0, 0}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {3, 3, 3, 3}};
        POINTL points[] = {{0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {-5, 3}};
        POINTFIX corners[3] = {{INT_MIN, 0}, {INT_MAX, 0}, {0, INT_MAX}};
        // Every clip with every rectangle, each time with another source rectangle, point and brush.
        int turn = 0;
        for (CLIPOBJ* clip : clips) {
            for (RECTL& rect : rects) {
                for (int k = 0; k < 4; ++k, ++turn) {
                    RECTL& from = sources[turn % 5];
                    POINTL& point = points[turn % 4];
                    BRUSHOBJ* brush = turn % 2 ? &grey.brush : &unknown;
                    DrvBitBlt(Page(), source.so, nullptr, clip, nullptr, &rect, &point, nullptr, brush,
                              &point, 0xF0F0);
                    DrvBitBlt(Page(), colour.so, nullptr, clip, nullptr, &rect, &point, nullptr, brush,
                              &point, 0xCCCC);
                    DrvStretchBlt(Page(), source.so, nullptr, clip, nullptr, nullptr, &point, &rect, &from,
                                  nullptr, COLORONCOLOR);
                    DrvStretchBltROP(Page(), colour.so, nullptr, clip, nullptr, nullptr, &point, &rect, &from,
                                     nullptr, HALFTONE, brush, 0x8888);
                    DrvCopyBits(Page(), colour.so, clip, nullptr, &rect, &point);
                    DrvTransparentBlt(Page(), source.so, clip, nullptr, &rect, &from, 0, 0);
                    DrvPlgBlt(Page(), source.so, nullptr, clip, nullptr, nullptr, &point, corners, &from,
                              nullptr, HALFTONE);
                    DrvPaint(Page(), clip, brush, &point, 0x0D0D);
                    DrvLineTo(Page(), clip, brush, rect.left, rect.top, rect.right, rect.bottom, &rect,
                              0x0D0D);
                    DrvTextOut(Page(), nullptr, nullptr, clip, nullptr, &rect, brush, brush, &point, 0x0D0D);
                }
            }
        }
        // Fills wholly off the band or upside down leave a white band white.
        FillBand(0xFF);
        const std::vector<BYTE> white = BandBytes();
        BRUSHOBJ black = {0, nullptr, 0};
        for (RECTL& rect : rects) {
            if (rect.left == INT_MIN) {
                continue;
            }
            DrvBitBlt(Page(), nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr, &black, nullptr,
                      0xF0F0);
            DrvBitBlt(Page(), nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr, &grey.brush,
                      nullptr, 0xF0F0);
            DitherFill(Band(), rect, FillPattern(pdev_, 0));
        }
        DrvPaint(Page(), empty.clip, &black, nullptr, 0x0D0D);
        DrvPaint(Page(), &emptyRect, &grey.brush, nullptr, 0x0D0D);
        DrvLineTo(Page(), nullptr, &black, INT_MIN, INT_MIN, INT_MIN + 5, INT_MAX, nullptr, 0x0D0D);
        EXPECT_EQ(BandBytes(), white);
    }
}

// Zero-sized and missing bitmaps through the engine front are refused; empty destinations draw nothing.
TEST_F(HostileDrawing, EmptyBitmapsThroughTheFront) {
    void* driver = winsim_engine_load(KT_RENDER_MODULE);
    ASSERT_NE(driver, nullptr);
    auto rec = JobSettings();
    void* device = winsim_engine_open(driver, kPrinterName, &rec->Public);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(winsim_engine_start_doc(device, "hostile"), 1);
    ASSERT_EQ(winsim_engine_start_page(device, nullptr), 1);
    const uint8_t bits[4] = {};
    const winsim_bitmap shapes[] = {
        {bits, 4, 0, 1, 1, {0, 0xFFFFFF}},
        {bits, 4, 1, 0, 24, {}},
        {nullptr, 4, 1, 1, 1, {}},
        {bits, 0, 8, 1, 1, {}}, // rows shorter than the pixels
        {bits, 4, 1, 1, 8, {}}, // a depth the front does not take
    };
    for (const winsim_bitmap& b : shapes) {
        EXPECT_EQ(winsim_engine_draw_bitmap(device, &b, 0, 0, 10, 10, HALFTONE), 0);
    }
    const winsim_bitmap one = {bits, 4, 1, 1, 1, {0, 0xFFFFFF}};
    EXPECT_EQ(winsim_engine_draw_bitmap(device, &one, 5, 5, 5, 5, HALFTONE), 1);
    EXPECT_EQ(winsim_engine_draw_bitmap(device, &one, INT_MIN, INT_MIN, INT_MAX, INT_MAX, COLORONCOLOR), 1);
    EXPECT_EQ(winsim_engine_draw_text(device, "/no/such/font.ttf", 20, 0, 0, "x", 0), 0);
    const int32_t line[] = {0, 0, 5, 5};
    EXPECT_EQ(winsim_engine_fill_polygon(device, line, 2, 0), 0);
    ASSERT_EQ(winsim_engine_end_page(device), 1);
    ASSERT_EQ(winsim_engine_end_doc(device, 0), 1);
    winsim_engine_close(device);
    winsim_engine_unload(driver);
}

} // namespace
