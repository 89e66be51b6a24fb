// Grey levels and the dither patterns built from each kind of halftone pattern.
#include <gtest/gtest.h>

#include "halftone.h"
#include "render_fixture.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

using Pattern = std::array<BYTE, kPatternBytes>;

Pattern Built(LONG type, const BYTE* table, BYTE grey) {
    BYTE out[kPatternBytes];
    std::memset(out, 0x5A, sizeof(out)); // whatever was there must not survive
    BuildPattern({type, table}, grey, out);
    Pattern p;
    std::memcpy(p.data(), out, sizeof(out));
    return p;
}

Pattern Filled(BYTE value) {
    Pattern p;
    p.fill(value);
    return p;
}

// Row r of a pattern as 16 pixels, most significant bit of the first byte first.
WORD Row(const Pattern& p, int r) {
    return static_cast<WORD>(p[2 * r] << 8 | p[2 * r + 1]);
}

TEST(GreyLevel, WeightsFiveNineTwoOverSixteenTruncated) {
    const struct {
        ULONG Color;
        BYTE Grey;
    } rows[] = {
        {0x000000, 0},   {0xFFFFFF, 255}, {0x0000FF, 79},  // red: 255 * 5 / 16
        {0x00FF00, 143}, {0xFF0000, 31},  {0x010101, 1},   // 16 / 16
        {0x808080, 128}, {0xFFFFFE, 254}, {0xFF000000, 0}, // the top byte is not a colour
    };
    for (const auto& r : rows) {
        EXPECT_EQ(GreyLevel(r.Color), r.Grey) << std::hex << r.Color;
    }
}

TEST(Pattern, SingleThresholdIsAllWhiteFromItsLevelUp) {
    const BYTE threshold[] = {128};
    EXPECT_EQ(Built(HTPAT_THRESHOLD, threshold, 127), Filled(0x00));
    EXPECT_EQ(Built(HTPAT_THRESHOLD, threshold, 128), Filled(0xFF));
}

TEST(Pattern, RowTablesDoubleTheirBytesIntoRowsIAndIPlusEight) {
    std::vector<BYTE> table(264);
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<BYTE>(i);
    }
    // Type 2 is all white at 255; type 10 takes the group of 248..255 there as at any level.
    EXPECT_EQ(Built(HTPAT_ROWS, table.data(), 255), Filled(0xFF));
    for (LONG type : {HTPAT_ROWS, HTPAT_ROWS_FULL}) {
        for (BYTE grey : {BYTE{0}, BYTE{13}, BYTE{254}, BYTE{255}}) {
            if (type == HTPAT_ROWS && grey == 255) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << "type " << type << ", grey " << int(grey));
            const Pattern p = Built(type, table.data(), grey);
            for (int i = 0; i < 8; ++i) {
                const BYTE b = static_cast<BYTE>((grey & 0xF8) + i);
                EXPECT_EQ(Row(p, i), b << 8 | b);
                EXPECT_EQ(Row(p, i + 8), b << 8 | b);
            }
        }
    }
}

TEST(Pattern, MatricesClearThePixelsWhoseThresholdLiesAboveTheLevel) {
    std::vector<BYTE> m8(64, 0);
    m8[0] = 150;     // row 0, column 0
    m8[8 + 7] = 200; // row 1, column 7
    const Pattern p8 = Built(HTPAT_MATRIX8, m8.data(), 100);
    EXPECT_EQ(Row(p8, 0), 0x7F7F);
    EXPECT_EQ(Row(p8, 8), 0x7F7F);
    EXPECT_EQ(Row(p8, 1), 0xFEFE);
    EXPECT_EQ(Row(p8, 9), 0xFEFE);
    EXPECT_EQ(Row(p8, 2), 0xFFFF);
    // The level equal to a threshold is white there; 16 x 16 matrices own every pixel of their rows.
    EXPECT_EQ(Row(Built(HTPAT_MATRIX8, m8.data(), 150), 0), 0xFFFF);
    std::vector<BYTE> m16(256, 0);
    m16[16 * 3 + 9] = 50; // row 3, pixel 9: the second byte's second bit
    m16[16 * 12] = 50;
    const Pattern p16 = Built(HTPAT_MATRIX16, m16.data(), 49);
    EXPECT_EQ(Row(p16, 3), 0xFFBF);
    EXPECT_EQ(Row(p16, 12), 0x7FFF);
    EXPECT_EQ(Row(p16, 4), 0xFFFF);
}

TEST(Pattern, UnknownTypesAndMissingTablesAreBlack) {
    const BYTE table[256] = {};
    EXPECT_EQ(Built(5, table, 200), Filled(0x00));
    EXPECT_EQ(Built(HTPAT_NONE, table, 255), Filled(0x00));
    EXPECT_EQ(Built(HTPAT_MATRIX8, nullptr, 255), Filled(0x00));
}

class JobPatterns : public RenderTest {};

// Which pattern a job takes and what colour adjustment the device keeps.
TEST_F(JobPatterns, SettingsChooseThePatternsAndTheColourAdjustment) {
    const struct {
        LONG Surface;
        LONG Row; // PatternIndex, or in profile B the label's Dithering
        LONG Second;
        LONG FirstType;
        bool JobAdjustment;
    } rows[] = {
        {0, 0, 0, HTPAT_THRESHOLD, true}, {0, 1, 3, HTPAT_MATRIX8, true},  {1, 3, 1, HTPAT_ROWS, true},
        {1, 2, 2, HTPAT_MATRIX8, true},   {2, 3, 1, HTPAT_MATRIX8, false}, {3, 0, 0, HTPAT_MATRIX8, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "surface " << r.Surface << ", row " << r.Row);
        auto rec = JobSettings();
        rec->Private.SurfaceToPrint = r.Surface;
        rec->Private.PatternIndex = r.Row;
        for (LABELINFO& label : rec->Private.Labels) {
            label.Values.Dithering = r.Row;
        }
        rec->Private.PatternIndex2 = r.Second;
        rec->Private.ColorAdjust.caContrast = 42;
        EXPECT_EQ(FirstHalftonePattern(rec.get()).Type, r.FirstType);
        EXPECT_EQ(SecondHalftonePattern(rec.get()).Type == HTPAT_NONE, r.Surface >= 2);
        const COLORADJUSTMENT ca = DeviceColorAdjustment(rec.get());
        EXPECT_EQ(ca.caContrast, r.JobAdjustment ? 42 : 0);
        if (!r.JobAdjustment) {
            EXPECT_EQ(ca.caSize, sizeof(COLORADJUSTMENT));
            EXPECT_EQ(ca.caRedGamma, 10000);
            EXPECT_EQ(ca.caReferenceWhite, 10000);
            EXPECT_EQ(ca.caReferenceBlack, 0);
        }
    }
}

// The built-in matrix serves the colour surfaces: its first row's thresholds decide pattern row 0.
TEST_F(JobPatterns, ColourSurfacesTakeTheBuiltInMatrix) {
    auto rec = JobSettings();
    rec->Private.SurfaceToPrint = 3;
    const HALFTONEPATTERN p = FirstHalftonePattern(rec.get());
    ASSERT_EQ(p.Type, HTPAT_MATRIX8);
    ASSERT_NE(p.Table, nullptr);
    const BYTE firstRow[] = {248, 242, 200, 32, 12, 8, 72, 160};
    EXPECT_EQ(std::memcmp(p.Table, firstRow, sizeof(firstRow)), 0);
    // Level 100 passes the thresholds 32, 12, 8 and 72 of that row: pixels 3..6 white.
    EXPECT_EQ(Row(Built(p.Type, p.Table, 100), 0), 0x1E1E);
}

} // namespace
