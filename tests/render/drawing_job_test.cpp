// Drawing through the stand-in graphics engine, as an application draws, and read back by the virtual
// printer: head colours print on their head only, text prints where it was drawn.
#include "decoded.h"
#include "render_fixture.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr char kFont[] = KT_TEST_FONT;

class DrawingJob : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        driver_ = winsim_engine_load(KT_RENDER_MODULE);
        ASSERT_NE(driver_, nullptr);
    }
    void TearDown() override {
        if (device_) {
            winsim_engine_close(device_);
        }
        winsim_engine_unload(driver_);
        RenderTest::TearDown();
    }

    // One label of 30 x 20 mm drawn by `draw`; returns the decoded page and keeps the page's own pixels
    // as the heads would print them.
    ktdecode::Page Print(const std::function<void(void*)>& draw) {
        auto rec = JobSettings();
        rec->Private.PaperId = kUserDefinedLabelId;
        rec->Private.CustomWidth = 300;
        rec->Private.CustomLength = 200;
        SyncPublicDevMode(rec.get());
        device_ = winsim_engine_open(driver_, kPrinterName, &rec->Public);
        EXPECT_NE(device_, nullptr);
        if (!device_) {
            return {};
        }
        EXPECT_EQ(winsim_engine_start_doc(device_, "drawing"), 1);
        winsim_engine_page page = {};
        EXPECT_EQ(winsim_engine_start_page(device_, &page), 1);
        draw(device_);
        printed_ = Printed(page);
        EXPECT_EQ(winsim_engine_end_page(device_), 1);
        EXPECT_EQ(winsim_engine_end_doc(device_, 0), 1);
        winsim_engine_close(device_);
        device_ = nullptr;
        const ktdecode::Result result = DecodeFor(0, JobBytes());
        EXPECT_TRUE(result.ok) << result.error.Message();
        EXPECT_EQ(result.pages.size(), 1u);
        return result.pages.empty() ? ktdecode::Page{} : result.pages[0];
    }

    // What each head prints of the page bitmap: profile A's exact head colours, profile B's black dots.
    static std::vector<std::vector<std::string>> Printed(const winsim_engine_page& page) {
        std::vector<std::vector<std::string>> heads(
            kHeadCount, std::vector<std::string>(page.height, std::string(page.width, '.')));
        for (int y = 0; y < page.height; ++y) {
            const BYTE* row = static_cast<const BYTE*>(page.bits) + static_cast<ptrdiff_t>(y) * page.stride;
            for (int x = 0; x < page.width; ++x) {
                if (page.bits_per_pixel == 24) {
                    const ULONG c = row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
                    if (c == 0x000000) {
                        heads[0][y][x] = '#';
                    } else if (c == 0x0000FF && kHeadCount == 2) {
                        heads[1][y][x] = '#';
                    }
                } else if (!((row[x / 8] >> (7 - x % 8)) & 1)) {
                    heads[0][y][x] = '#';
                }
            }
        }
        return heads;
    }

    static int Dots(const std::vector<std::string>& rows) {
        int n = 0;
        for (const std::string& r : rows) {
            n += static_cast<int>(std::count(r.begin(), r.end(), '#'));
        }
        return n;
    }

    void* driver_ = nullptr;
    void* device_ = nullptr;
    std::vector<std::vector<std::string>> printed_;
};

// A filled rectangle in a head's colour prints on that head only; a colour one step away on neither.
TEST_F(DrawingJob, HeadColoursPrintOnTheirHeadOnly) {
    const struct {
        const char* Name;
        uint32_t Color;
        int Head; // 0: none
    } rows[] = {
        {"black", 0x000000, 1},
        {"one step from black", 0x010000, kHeadCount == 2 ? 0 : 1}, // the 1-bit surface takes the nearest
        {"red", 0x0000FF, kHeadCount == 2 ? 2 : 1},
        {"one step from red", 0x0000FE, kHeadCount == 2 ? 0 : 1},
        {"white", 0xFFFFFF, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Name);
        const ktdecode::Page page = Print(
            [&](void* device) { EXPECT_EQ(winsim_engine_fill_rect(device, 10, 20, 50, 30, r.Color), 1); });
        ASSERT_EQ(page.heads.size(), static_cast<size_t>(kHeadCount));
        for (int h = 0; h < kHeadCount; ++h) {
            const std::vector<std::string> rows_ = ktdecode::ImageRows(page.heads[h].image);
            EXPECT_EQ(Dots(rows_), r.Head == h + 1 ? 400 : 0) << "head " << h + 1;
            EXPECT_EQ(rows_, printed_[h]);
        }
    }
}

// Text, lines, a polygon and a stretched bitmap print where they were drawn, dot for dot.
TEST_F(DrawingJob, DrawingPrintsWhereItWasDrawn) {
    const uint8_t checker[2] = {0xA0, 0x50}; // 4 x 2 pixels, set bits black: #.#. / .#.#
    const ktdecode::Page page = Print([&](void* device) {
        EXPECT_EQ(winsim_engine_draw_text(device, kFont, 40, 20, 60, "Ag漢", 0x000000), 1);
        EXPECT_EQ(winsim_engine_draw_line(device, 5, 100, 200, 110, 0x000000), 1);
        const int32_t triangle[] = {150, 10, 190, 10, 170, 50};
        EXPECT_EQ(winsim_engine_fill_polygon(device, triangle, 3, 0x000000), 1);
        const winsim_bitmap bitmap = {checker, 1, 4, 2, 1, {0xFFFFFF, 0x000000}};
        EXPECT_EQ(winsim_engine_draw_bitmap(device, &bitmap, 100, 150, 108, 154, COLORONCOLOR), 1);
    });
    ASSERT_FALSE(page.heads.empty());
    const std::vector<std::string> head1 = ktdecode::ImageRows(page.heads[0].image);
    EXPECT_EQ(head1, printed_[0]);
    // The text's dots lie in its line: from the pen position, between the ascent and the descent.
    int left = 1 << 30, top = 1 << 30, bottom = -1;
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 140; ++x) {
            if (head1[y][x] == '#') {
                left = std::min(left, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_GE(left, 20);
    EXPECT_LE(left, 24);
    EXPECT_GE(top, 60 - 40);
    EXPECT_GT(bottom, 60) << "the g reaches below the baseline";
    EXPECT_LT(bottom, 60 + 15);
    // The line from (5, 100) leaves out its last point; the bitmap's pixel (0, 0) became 2 x 2 dots.
    EXPECT_EQ(head1[100][5], '#');
    EXPECT_EQ(head1[110][200], '.');
    EXPECT_EQ(head1[150].substr(100, 8), "##..##..");
    EXPECT_EQ(head1[152].substr(100, 8), "..##..##");
    EXPECT_EQ(head1[30][170], '#');
}

} // namespace
