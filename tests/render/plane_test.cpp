// Head planes and their turns against the definitions, dot by dot, on random pages of awkward sizes:
// the word-wide and tile-wise code must agree with the plain rule everywhere, padding included.
#include <gtest/gtest.h>

#include "plane.h"

#include <random>
#include <vector>

namespace {

bool Dot(const PLANE& p, LONG x, LONG y) {
    return (p.Bits[static_cast<size_t>(y) * p.RowBytes + x / 8] >> (7 - x % 8)) & 1;
}

struct OwnedPlane {
    std::vector<BYTE> Bits;
    PLANE Plane;
    OwnedPlane(LONG width, LONG rows) : Bits(PlaneRowBytes(width) * rows) {
        Plane = {Bits.data(), width, rows, PlaneRowBytes(width)};
    }
};

// Every bit past the last dot of a row is clear.
::testing::AssertionResult PaddingClear(const PLANE& p) {
    for (LONG y = 0; y < p.Rows; ++y) {
        for (LONG x = p.Width; x < static_cast<LONG>(p.RowBytes * 8); ++x) {
            if (Dot(p, x, y)) {
                return ::testing::AssertionFailure() << "padding bit " << x << " of row " << y << " is set";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(Plane, TurnsMoveEveryDotWhereTheRuleSays) {
    std::mt19937 random(3);
    const struct {
        LONG Width, Rows;
    } sizes[] = {{1, 1}, {7, 3}, {8, 8}, {9, 1}, {1, 9}, {13, 21}, {64, 9}, {100, 37}, {3, 70}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.Width << " x " << size.Rows);
        OwnedPlane src(size.Width, size.Rows);
        for (LONG y = 0; y < size.Rows; ++y) {
            for (LONG x = 0; x < size.Width; ++x) {
                if (random() & 1) {
                    src.Bits[y * src.Plane.RowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                }
            }
        }
        const LONG w = size.Width;
        const LONG h = size.Rows;
        OwnedPlane ccw(h, w), cw(h, w), half(w, h);
        TurnCounterClockwise(src.Plane, &ccw.Plane);
        TurnClockwise(src.Plane, &cw.Plane);
        TurnHalf(src.Plane, &half.Plane);
        ASSERT_EQ(ccw.Plane.Width, h);
        ASSERT_EQ(ccw.Plane.Rows, w);
        ASSERT_EQ(cw.Plane.Width, h);
        ASSERT_EQ(cw.Plane.Rows, w);
        for (LONG y = 0; y < h; ++y) {
            for (LONG x = 0; x < w; ++x) {
                const bool dot = Dot(src.Plane, x, y);
                // Counter-clockwise: column x becomes row W - 1 - x, row y column y. Clockwise: column x
                // becomes row x, row y column H - 1 - y. Half: both reversed.
                ASSERT_EQ(Dot(ccw.Plane, y, w - 1 - x), dot) << "counter-clockwise, dot " << x << "," << y;
                ASSERT_EQ(Dot(cw.Plane, h - 1 - y, x), dot) << "clockwise, dot " << x << "," << y;
                ASSERT_EQ(Dot(half.Plane, w - 1 - x, h - 1 - y), dot) << "half, dot " << x << "," << y;
            }
        }
        EXPECT_TRUE(PaddingClear(ccw.Plane));
        EXPECT_TRUE(PaddingClear(cw.Plane));
        EXPECT_TRUE(PaddingClear(half.Plane));
    }
}

// Widths around the eight- and sixteen-pixel groups and the 64-pixel white test; colours a step away
// from the head colours, which must not print.
TEST(Plane, HeadPlanesTakeExactlyTheHeadColours) {
    std::mt19937 random(5);
    const DWORD palette[] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x0000FF, 0x000001,
                             0x0000FE, 0x010000, 0xFF0000, 0xFFFFFE, 0x00FF00};
    // White as a head colour too: a user may pick it, and white areas then print on that head.
    const DWORD pairs[][2] = {{0x000000, 0x0000FF}, {0xFFFFFF, 0x000000}};
    for (const auto& colors : pairs)
        for (LONG width : {1, 7, 8, 15, 16, 17, 63, 64, 65, 71, 72, 130, 200}) {
            SCOPED_TRACE(testing::Message() << width << " dots, head 1 colour " << colors[0]);
            const LONG rows = 5;
            const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
            // Rows are padded with zero bytes, which read as black: the padding must not print.
            std::vector<BYTE> surface(stride * rows, 0);
            for (LONG y = 0; y < rows; ++y) {
                // Some rows all white, so that the white shortcuts are taken too.
                const bool blank = y == 1;
                for (LONG x = 0; x < width; ++x) {
                    const DWORD c = blank ? 0xFFFFFF : palette[random() % std::size(palette)];
                    for (int k = 0; k < 3; ++k) {
                        surface[y * stride + 3 * x + k] = static_cast<BYTE>(c >> (8 * k));
                    }
                }
            }
            OwnedPlane p1(width, rows), p2(width, rows);
            PLANE planes[2] = {p1.Plane, p2.Plane};
            SeparateHeadPlanes({surface.data(), static_cast<LONG>(stride), width, rows}, colors, planes);
            for (LONG y = 0; y < rows; ++y) {
                for (LONG x = 0; x < width; ++x) {
                    const BYTE* px = &surface[y * stride + 3 * x];
                    const DWORD c = px[0] | (px[1] << 8) | (static_cast<DWORD>(px[2]) << 16);
                    ASSERT_EQ(Dot(planes[0], x, y), c == colors[0]) << x << "," << y;
                    ASSERT_EQ(Dot(planes[1], x, y), c == colors[1]) << x << "," << y;
                }
            }
            EXPECT_TRUE(PaddingClear(planes[0]));
            EXPECT_TRUE(PaddingClear(planes[1]));
        }
}

TEST(Plane, TheOneBitSurfaceIsInverted) {
    for (LONG width : {1, 7, 8, 9, 31, 32, 33}) {
        SCOPED_TRACE(width);
        const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
        std::vector<BYTE> surface(stride * 2, 0); // all black, padding included
        for (size_t i = 0; i < stride; ++i) {
            surface[i] = static_cast<BYTE>(0xA5 + i); // the first row in a pattern
        }
        OwnedPlane plane(width, 2);
        InvertedPlane({surface.data(), static_cast<LONG>(stride), width, 2}, &plane.Plane);
        for (LONG x = 0; x < width; ++x) {
            ASSERT_EQ(Dot(plane.Plane, x, 0), !((surface[x / 8] >> (7 - x % 8)) & 1)) << x;
            ASSERT_TRUE(Dot(plane.Plane, x, 1)) << x;
        }
        EXPECT_TRUE(PaddingClear(plane.Plane));
    }
}

} // namespace
