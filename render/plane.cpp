#include "plane.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Transposes an 8 x 8 bit tile: in[i] is tile row i, its bit 7 column 0; out[j] is column j, its bit 7
// from row 0 (the three-step exchange of Hacker's Delight).
void Transpose8(const BYTE (&in)[8], BYTE (&out)[8]) {
    uint64_t x = 0;
    for (int i = 0; i < 8; ++i) {
        x = (x << 8) | in[i];
    }
    uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    x = x ^ t ^ (t << 28);
    for (int j = 7; j >= 0; --j) {
        out[j] = static_cast<BYTE>(x);
        x >>= 8;
    }
}

constexpr std::array<BYTE, 256> MakeReversed() {
    std::array<BYTE, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int r = 0;
        for (int b = 0; b < 8; ++b) {
            r |= ((v >> b) & 1) << (7 - b);
        }
        table[v] = static_cast<BYTE>(r);
    }
    return table;
}
constexpr std::array<BYTE, 256> kReversed = MakeReversed();

// The mask of the bits of a row's last byte that hold dots.
BYTE LastByteMask(LONG width) {
    const int used = width % 8;
    return used == 0 ? 0xFF : static_cast<BYTE>(0xFF << (8 - used));
}

#if defined(__SSE2__)
// The matches of sixteen pixels from a 48-bit mask of matching bytes: pixel k matched when bits 3k,
// 3k + 1 and 3k + 2 are all set. Returns two plane bytes, the first in the low byte, pixel 0 in bit 7.
unsigned PixelsOfWideByteMask(uint64_t bytes) {
    uint64_t x = bytes & (bytes >> 1) & (bytes >> 2) & 0x249249249249ULL;
    x = (x | (x >> 2)) & 0x0C30C30C30C3ULL;
    x = (x | (x >> 4)) & 0x00F00F00F00FULL;
    x = (x | (x >> 8)) & 0x0000FF0000FFULL;
    x = (x | (x >> 16)) & 0xFFFFULL;
    return kReversed[x & 0xFF] | (static_cast<unsigned>(kReversed[x >> 8]) << 8);
}

// Sixteen pixels at a time: each head colour repeated over 48 bytes, compared byte by byte.
struct WidePattern {
    __m128i Part[3];
    explicit WidePattern(DWORD color) {
        alignas(16) BYTE bytes[48];
        for (int i = 0; i < 48; ++i) {
            bytes[i] = static_cast<BYTE>(color >> (8 * (i % 3)));
        }
        for (int k = 0; k < 3; ++k) {
            Part[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(bytes + 16 * k));
        }
    }
    uint64_t Matches(const __m128i (&v)[3]) const {
        uint64_t m = 0;
        for (int k = 0; k < 3; ++k) {
            m |=
                static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v[k], Part[k]))))
                << (16 * k);
        }
        return m;
    }
};
#endif

// A turn by a quarter: tiles of eight source rows, taken in the order in which they become one byte
// column of the result. sourceRow(g, i) is the source row whose dots land in bit 7 - i of byte column
// g (or -1 for none); destRow(x) is the result row that source column x becomes.
template <class SourceRow, class DestRow>
void TurnQuarter(const PLANE& src, PLANE* dst, SourceRow sourceRow, DestRow destRow) {
    dst->Width = src.Rows;
    dst->Rows = src.Width;
    dst->RowBytes = PlaneRowBytes(src.Rows);
    const size_t groups = dst->RowBytes;
    for (size_t g = 0; g < groups; ++g) {
        const BYTE* rows[8];
        for (int i = 0; i < 8; ++i) {
            const long long y = sourceRow(static_cast<long long>(g), i);
            rows[i] = y >= 0 && y < src.Rows ? src.Bits + static_cast<size_t>(y) * src.RowBytes : nullptr;
        }
        for (size_t bx = 0; bx < src.RowBytes; ++bx) {
            BYTE tile[8];
            BYTE turned[8];
            bool any = false;
            for (int i = 0; i < 8; ++i) {
                tile[i] = rows[i] ? rows[i][bx] : 0;
                any = any || tile[i] != 0;
            }
            if (any) {
                Transpose8(tile, turned);
            } else {
                std::memset(turned, 0, sizeof(turned));
            }
            // Columns past the plane's width are padding; they turn into no row.
            for (int j = 0; j < 8; ++j) {
                const long long x = static_cast<long long>(bx) * 8 + j;
                if (x < src.Width) {
                    dst->Bits[static_cast<size_t>(destRow(x)) * dst->RowBytes + g] = turned[j];
                }
            }
        }
    }
}

} // namespace

void SeparateHeadPlanes(const BANDBITS& band, const DWORD (&colors)[2], PLANE (&planes)[2]) {
    const DWORD c1 = colors[0] & 0xFFFFFF;
    const DWORD c2 = colors[1] & 0xFFFFFF;
    const size_t rowBytes = PlaneRowBytes(band.Width);
    // White is what most of a label is; eight white pixels are three all-ones words.
    const BYTE white1 = c1 == 0xFFFFFF ? 0xFF : 0x00;
    const BYTE white2 = c2 == 0xFFFFFF ? 0xFF : 0x00;
    const LONG wholeGroups = band.Width / 8;
#if defined(__SSE2__)
    const WidePattern wide1(c1);
    const WidePattern wide2(c2);
    const __m128i ones = _mm_set1_epi8(static_cast<char>(0xFF));
#endif
    for (int h = 0; h < 2; ++h) {
        planes[h].Width = band.Width;
        planes[h].Rows = band.Rows;
        planes[h].RowBytes = rowBytes;
    }
    for (LONG y = 0; y < band.Rows; ++y) {
        const BYTE* row = band.Scan0 + static_cast<ptrdiff_t>(y) * band.Delta;
        BYTE* out1 = planes[0].Bits + static_cast<size_t>(y) * rowBytes;
        BYTE* out2 = planes[1].Bits + static_cast<size_t>(y) * rowBytes;
        LONG g = 0;
#if defined(__SSE2__)
        while (g + 1 < wholeGroups) {
            const BYTE* p = row + static_cast<size_t>(g) * 24;
            // 64 white pixels in one test: a label's white goes by a row's width in a few steps.
            if (g + 8 <= wholeGroups) {
                __m128i all = ones;
                for (int k = 0; k < 12; ++k) {
                    all = _mm_and_si128(all, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k)));
                }
                if (_mm_movemask_epi8(_mm_cmpeq_epi8(all, ones)) == 0xFFFF) {
                    std::memset(out1 + g, white1, 8);
                    std::memset(out2 + g, white2, 8);
                    g += 8;
                    continue;
                }
            }
            const __m128i v[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32))};
            const __m128i all = _mm_and_si128(_mm_and_si128(v[0], v[1]), v[2]);
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(all, ones)) == 0xFFFF) {
                out1[g] = out1[g + 1] = white1;
                out2[g] = out2[g + 1] = white2;
                g += 2;
                continue;
            }
            const uint64_t m1 = wide1.Matches(v);
            const uint64_t m2 = wide2.Matches(v);
            const unsigned p1 = PixelsOfWideByteMask(m1);
            const unsigned p2 = PixelsOfWideByteMask(m2);
            out1[g] = static_cast<BYTE>(p1);
            out1[g + 1] = static_cast<BYTE>(p1 >> 8);
            out2[g] = static_cast<BYTE>(p2);
            out2[g + 1] = static_cast<BYTE>(p2 >> 8);
            g += 2;
        }
#endif
        for (; g < wholeGroups; ++g) {
            const BYTE* p = row + static_cast<size_t>(g) * 24;
            uint64_t w[3];
            std::memcpy(w, p, sizeof(w));
            if ((w[0] & w[1] & w[2]) == ~0ULL) {
                out1[g] = white1;
                out2[g] = white2;
                continue;
            }
            // The eight pixels of the three words, each three bytes in surface order (Windows is
            // little-endian on every processor it runs on, so a word's low byte comes first).
            constexpr uint64_t m = 0xFFFFFF;
            const DWORD pixel[8] = {
                static_cast<DWORD>(w[0] & m),
                static_cast<DWORD>((w[0] >> 24) & m),
                static_cast<DWORD>(((w[0] >> 48) | (w[1] << 16)) & m),
                static_cast<DWORD>((w[1] >> 8) & m),
                static_cast<DWORD>((w[1] >> 32) & m),
                static_cast<DWORD>(((w[1] >> 56) | (w[2] << 8)) & m),
                static_cast<DWORD>((w[2] >> 16) & m),
                static_cast<DWORD>(w[2] >> 40),
            };
            unsigned b1 = 0;
            unsigned b2 = 0;
            for (int k = 0; k < 8; ++k) {
                b1 = (b1 << 1) | (pixel[k] == c1 ? 1u : 0u);
                b2 = (b2 << 1) | (pixel[k] == c2 ? 1u : 0u);
            }
            out1[g] = static_cast<BYTE>(b1);
            out2[g] = static_cast<BYTE>(b2);
        }
        // The last few pixels of a row; whatever the surface holds past them is padding and never prints.
        if (band.Width % 8) {
            BYTE b1 = 0;
            BYTE b2 = 0;
            for (LONG x = wholeGroups * 8; x < band.Width; ++x) {
                const BYTE* p = row + static_cast<size_t>(x) * 3;
                const DWORD pixel = p[0] | (p[1] << 8) | (static_cast<DWORD>(p[2]) << 16);
                b1 = static_cast<BYTE>(b1 | ((pixel == c1) << (7 - (x % 8))));
                b2 = static_cast<BYTE>(b2 | ((pixel == c2) << (7 - (x % 8))));
            }
            out1[wholeGroups] = b1;
            out2[wholeGroups] = b2;
        }
    }
}

void InvertedPlane(const BANDBITS& band, PLANE* plane) {
    const size_t rowBytes = PlaneRowBytes(band.Width);
    const BYTE last = LastByteMask(band.Width);
    plane->Width = band.Width;
    plane->Rows = band.Rows;
    plane->RowBytes = rowBytes;
    for (LONG y = 0; y < band.Rows; ++y) {
        const BYTE* row = band.Scan0 + static_cast<ptrdiff_t>(y) * band.Delta;
        BYTE* out = plane->Bits + static_cast<size_t>(y) * rowBytes;
        for (size_t i = 0; i < rowBytes; ++i) {
            out[i] = static_cast<BYTE>(~row[i]);
        }
        if (rowBytes) {
            out[rowBytes - 1] &= last;
        }
    }
}

void TurnCounterClockwise(const PLANE& src, PLANE* dst) {
    // Source column x becomes row W - 1 - x; source row y becomes column y.
    TurnQuarter(
        src, dst, [](long long g, int i) { return g * 8 + i; },
        [&src](long long x) { return src.Width - 1 - x; });
}

void TurnClockwise(const PLANE& src, PLANE* dst) {
    // Source column x becomes row x; source row y becomes column H - 1 - y, so the tiles are taken from
    // the bottom up and every byte column of the result starts at bit 7.
    const long long rows = src.Rows;
    TurnQuarter(
        src, dst, [rows](long long g, int i) { return rows - 1 - (g * 8 + i); },
        [](long long x) { return x; });
}

void TurnHalf(const PLANE& src, PLANE* dst) {
    // Rows in reverse order, each row's bytes and bits reversed; the row's padding then leads, so the
    // row moves left by it to start at bit 7 again.
    dst->Width = src.Width;
    dst->Rows = src.Rows;
    dst->RowBytes = src.RowBytes;
    const size_t n = src.RowBytes;
    const int shift = static_cast<int>(n * 8 - static_cast<size_t>(src.Width));
    for (LONG r = 0; r < src.Rows; ++r) {
        const BYTE* in = src.Bits + static_cast<size_t>(src.Rows - 1 - r) * n;
        BYTE* out = dst->Bits + static_cast<size_t>(r) * n;
        for (size_t k = 0; k < n; ++k) {
            const BYTE here = kReversed[in[n - 1 - k]];
            const BYTE next = k + 1 < n ? kReversed[in[n - 2 - k]] : 0;
            out[k] = shift ? static_cast<BYTE>((here << shift) | (next >> (8 - shift))) : here;
        }
    }
}
