// Round trip through the virtual printer: random pages of every variant, sent with every combination of
// orientation, rotation, landscape choice, driver expansion, band splitting, compression and X
// correction, decoded again and compared with the page as the rules place it on the label, dot by dot.
// The placement is worked out here from the rules, not by the sender's code.
#include "bytes.h"
#include "decoded.h"
#include "render_fixture.h"

#include "commands.h"
#include "decoder.h"
#include "image_sender.h"
#include "model_lookup.h"
#include "row_coder.h"

#include <random>
#include <string>
#include <vector>

namespace {

// A page of dots per head, as the application drew it.
struct Dots {
    LONG Width = 0, Rows = 0;
    std::vector<uint8_t> At; // one byte per dot
    uint8_t& operator()(LONG x, LONG y) { return At[static_cast<size_t>(y) * Width + x]; }
    uint8_t operator()(LONG x, LONG y) const { return At[static_cast<size_t>(y) * Width + x]; }
};

struct Case {
    LONG Model;
    LONG WidthMm, LengthMm;
    LONG Orientation;
    LONG Choice; // landscape turned by 90 (0) or 270 (1) degrees
    LONG Rotation;
    bool Expand, Split, Compress;
    LONG XAdjust[2];
};

std::string Describe(const Case& c) {
    return "model " + std::to_string(c.Model) + ", " + std::to_string(c.WidthMm) + " x " +
           std::to_string(c.LengthMm) + " mm, " +
           (c.Orientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait") +
           (c.Orientation == DMORIENT_LANDSCAPE ? (c.Choice ? " 270" : " 90") : "") + ", rotation " +
           std::to_string(c.Rotation) + (c.Expand ? ", expansion" : "") + (c.Split ? ", bands" : "") +
           (c.Compress ? ", compressed" : "") + ", X correction " + std::to_string(c.XAdjust[0]) + "/" +
           std::to_string(c.XAdjust[1]);
}

long long ToDots(long long tenths, LONG d100) {
    return tenths * d100 / 1000;
}

// Where page dot (x, y) lies after the turn the rules give, in a plane of `turnedWidth` dots.
struct Turned {
    LONG Width, Rows;
    bool ByLength;     // the label's length lies across the head
    bool KnownTurn;    // the rotation is one of 0..3
    LONG TurnCode = 0; // 0 none, 1 counter-clockwise, 2 clockwise, 3 half
};

Turned TurnOf(const Case& c, LONG pageW, LONG pageH) {
    // By rotation 0..3: portrait, landscape 90, landscape 270 (the 90-degree turn and a half turn more).
    static const int kTurn[3][4] = {{0, 1, 3, 2}, {1, 3, 2, 0}, {2, 0, 1, 3}};
    static const bool kByLength[3][4] = {
        {false, true, false, true}, {false, true, false, true}, {false, true, false, true}};
    Turned t = {pageW, pageH, false, c.Rotation >= 0 && c.Rotation <= 3};
    if (!t.KnownTurn) {
        return t;
    }
    const int table = c.Orientation == DMORIENT_LANDSCAPE ? 1 + c.Choice : 0;
    t.TurnCode = kTurn[table][c.Rotation];
    t.ByLength = kByLength[table][c.Rotation];
    if (t.TurnCode == 1 || t.TurnCode == 2) {
        t.Width = pageH;
        t.Rows = pageW;
    }
    return t;
}

// Turned column and row of page dot (x, y).
void TurnDot(const Turned& t, LONG pageW, LONG pageH, LONG x, LONG y, LONG* k, LONG* r) {
    switch (t.TurnCode) {
    case 1: // counter-clockwise: column x becomes row W - 1 - x
        *k = y;
        *r = pageW - 1 - x;
        break;
    case 2: // clockwise: column x becomes row x, row y column H - 1 - y
        *k = pageH - 1 - y;
        *r = x;
        break;
    case 3:
        *k = pageW - 1 - x;
        *r = pageH - 1 - y;
        break;
    default:
        *k = x;
        *r = y;
        break;
    }
}

// Head dots a head's blocks cover for a label sent unturned and without its size: from the block X to
// the end of its rows.
struct Extent {
    long long Left, Right;
};
Extent SentExtent(const Case& c, int head, const ktdecode::Variant& v, const Turned& t) {
    const LONG d = v.dotsPer100mm;
    const long long centring = (v.maxWidth - c.WidthMm * 10LL) / 2;
    if (!c.Expand) {
        const long long x = ToDots(centring, d);
        return {x, x + t.Width};
    }
    const long long o = ToDots(centring + c.XAdjust[head], d);
    const long long s = ((o % 8) + 8) % 8;
    long long width = t.Width;
    if (s) {
        width = std::min<long long>(width + s, v.headWidthDots);
    }
    if (o < 0) {
        const long long drop = (7 - o) / 8;
        return {0, width - 8 * drop};
    }
    return {o - s, o - s + width};
}

// The label image one head prints, worked out from the rules.
ktdecode::Image Expected(const Case& c, const Dots& page, int head, const ktdecode::Variant& v) {
    const LONG d = v.dotsPer100mm;
    const Turned t = TurnOf(c, page.Width, page.Rows);
    const long long M = v.maxWidth;
    const long long across = t.KnownTurn ? (t.ByLength ? c.LengthMm : c.WidthMm) * 10LL : c.WidthMm * 10LL;
    const bool clip = t.KnownTurn && M < across;
    const long long centring = clip ? 0 : (M - across) / 2;
    const long long width = clip ? v.headWidthDots : t.Width;
    // Head dot of turned column 0, and which columns are sent.
    long long origin = ToDots(centring, d);
    long long firstColumn = 0;
    long long endColumn = width;
    if (c.Expand) {
        const long long o = ToDots(centring + c.XAdjust[head], d);
        const long long s = ((o % 8) + 8) % 8;
        long long rowBytes = clip ? v.headWidthDots / 8 : (t.Width + 7) / 8;
        if (s) {
            rowBytes = std::min<long long>((width + s + 7) / 8, v.headWidthDots / 8);
        }
        origin = o;
        endColumn = std::min<long long>(width, 8 * rowBytes - s); // the shift cuts at the row's end
        if (o < 0) {
            firstColumn = -o; // dots pushed past the left edge are dropped
        }
    }
    // The label's left edge on the head; a label sent without its size is as wide as its blocks.
    ktdecode::Image image;
    long long left;
    if (t.KnownTurn) {
        const long long acrossMm = t.ByLength ? c.LengthMm : c.WidthMm;
        const long long alongMm = t.ByLength ? c.WidthMm : c.LengthMm;
        left = ToDots((M - acrossMm * 10) / 2, d);
        image.width = static_cast<int>(ToDots(acrossMm * 10, d));
        image.height = static_cast<int>(ToDots(alongMm * 10, d));
    } else {
        // Without a size the label is as wide as the blocks of both heads together.
        // A head whose image lies wholly off the head sends no block and takes no room.
        long long right = 0;
        left = 0;
        bool any = false;
        for (int h = 0; h < kHeadCount; ++h) {
            const Extent e = SentExtent(c, h, v, t);
            if (e.Right > e.Left) {
                left = any ? std::min(left, e.Left) : e.Left;
                right = any ? std::max(right, e.Right) : e.Right;
                any = true;
            }
        }
        image.width = static_cast<int>(right - left);
        image.height = any ? t.Rows : 0;
    }
    if (image.width < 0 || image.height < 0) {
        ADD_FAILURE() << "no label image " << image.width << " x " << image.height;
        image.width = image.height = 0;
    }
    image.dots.assign(static_cast<size_t>(image.width) * image.height, 0);
    const uint8_t* dot = page.At.data();
    for (LONG y = 0; y < page.Rows; ++y) {
        for (LONG x = 0; x < page.Width; ++x) {
            if (!*dot++) {
                continue;
            }
            LONG k, r;
            TurnDot(t, page.Width, page.Rows, x, y, &k, &r);
            if (k < firstColumn || k >= endColumn) {
                continue;
            }
            const long long lx = origin + k - left;
            if (lx >= 0 && lx < image.width && r < image.height) {
                image.dots[static_cast<size_t>(r) * image.width + static_cast<size_t>(lx)] = 1;
            }
        }
    }
    return image;
}

::testing::AssertionResult SameImage(const ktdecode::Image& expected, const ktdecode::Image& actual) {
    if (expected.width != actual.width || expected.height != actual.height) {
        return ::testing::AssertionFailure() << "image " << actual.width << " x " << actual.height
                                             << ", expected " << expected.width << " x " << expected.height;
    }
    if (expected.dots == actual.dots) {
        return ::testing::AssertionSuccess();
    }
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (expected.At(x, y) != actual.At(x, y)) {
                return ::testing::AssertionFailure()
                       << "dot " << x << "," << y << " is " << (actual.At(x, y) ? "printed" : "white");
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class RoundTrip : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        for (auto& b : buffers_) {
            b.assign(kMaxPlaneBytes, 0);
        }
        work_.ByteRuns = byteRuns_;
        work_.RunCodes = runCodes_;
    }
    void TearDown() override {
        ReleaseImageWork(&work_);
        RenderTest::TearDown();
    }

    // Sends the pages of one label as a job of their own and decodes it.
    ktdecode::Result Run(const Case& c, const std::vector<std::vector<Dots>>& pages) {
        const VARIANTINFO& variant = GetVariant(c.Model);
        LABELVALUES label = variant.Model.Values;
        label.Rotation = c.Rotation;
        label.DriverExpand = c.Expand;
        label.BandSplit = c.Split;
        label.Compress = c.Compress;
        label.XAdjust1 = c.XAdjust[0];
#if defined(KT_PROFILE_A)
        label.XAdjust2 = c.XAdjust[1];
        label.HeadColor1 = 0x000000;
        label.HeadColor2 = 0x0000FF;
#endif
        const IMAGESETTINGS settings = {&label,   c.WidthMm * 10LL, c.LengthMm * 10LL, c.Orientation,
                                        c.Choice, variant.Head,     variant.MaxWidth};
        // Comparison buffers of the size any turn of the page can need (clearing 4 MB for every case would
        // cost more than the rest of the case).
        const LONG side = std::max(pages[0][0].Width, pages[0][0].Rows) + 8;
        COMPARESTATE compare = {};
        compare.Bytes = std::min<size_t>(kMaxPlaneBytes, static_cast<size_t>(side) * (side / 8 + 2));
        compare.FirstPage = true;
        for (int h = 0; h < kHeadCount; ++h) {
            std::fill(buffers_[h].begin(), buffers_[h].begin() + compare.Bytes, 0);
            compare.Buffers[h] = buffers_[h].data();
        }
        StartJob();
        OutputBuffer out = TestOutput();
        WriteReset(out);
        WriteLabelFormat(out, {c.Expand, c.Rotation, c.WidthMm, c.LengthMm, 30});
        for (const auto& page : pages) {
            std::vector<BYTE> surface;
            const BANDBITS band = Surface(page, &surface);
            EXPECT_EQ(SendImage(band, settings, compare, work_, out), ImageResult::Sent);
            WritePrintCount(out, 1);
        }
        out.Flush();
        EndJob();
        const Bytes stream = JobBytes();
        ktdecode::Options options;
        variant_ = DecoderVariant(c.Model);
        options.variant = &variant_;
        return ktdecode::Decode(stream, options);
    }

    // The page as the engine leaves it: 24-bit pixels in the head colours (and colours one step from them,
    // which print nothing), or 1 bit per pixel with 1 for white; rows padded to 4 bytes with zeros.
    static BANDBITS Surface(const std::vector<Dots>& heads, std::vector<BYTE>* bits) {
        const LONG w = heads[0].Width;
        const LONG rows = heads[0].Rows;
#if defined(KT_PROFILE_A)
        const size_t stride = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
        bits->assign(stride * rows, 0);
        for (LONG y = 0; y < rows; ++y) {
            for (LONG x = 0; x < w; ++x) {
                DWORD color = ((x * 7 + y * 3) % 11 == 0) ? 0x000001 : 0xFFFFFF; // near black: no dot
                color = heads[0](x, y) ? 0x000000 : (heads[1](x, y) ? 0x0000FF : color);
                BYTE* p = bits->data() + y * stride + 3 * x;
                p[0] = static_cast<BYTE>(color);
                p[1] = static_cast<BYTE>(color >> 8);
                p[2] = static_cast<BYTE>(color >> 16);
            }
        }
#else
        const size_t stride = (static_cast<size_t>(w) + 31) / 32 * 4;
        bits->assign(stride * rows, 0);
        for (LONG y = 0; y < rows; ++y) {
            for (LONG x = 0; x < w; ++x) {
                if (!heads[0](x, y)) {
                    (*bits)[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                }
            }
        }
#endif
        return {bits->data(), static_cast<LONG>(stride), w, rows};
    }

    // Random dots on a page of the case's size; the heads never share a dot, as one pixel has one colour.
    static std::vector<Dots> RandomPage(const Case& c, std::minstd_rand& random, int density) {
        const LONG d = GetVariant(c.Model).Head.DotsPer100mm;
        const bool landscape = c.Orientation == DMORIENT_LANDSCAPE;
        const LONG w = static_cast<LONG>(ToDots((landscape ? c.LengthMm : c.WidthMm) * 10LL, d));
        const LONG h = static_cast<LONG>(ToDots((landscape ? c.WidthMm : c.LengthMm) * 10LL, d));
        std::vector<Dots> heads(kHeadCount);
        for (Dots& dots : heads) {
            dots.Width = w;
            dots.Rows = h;
            dots.At.assign(static_cast<size_t>(w) * h, 0);
        }
        for (size_t i = 0; i < heads[0].At.size(); ++i) {
            const int roll = static_cast<int>(random() % 100);
            if (roll < density) {
                heads[roll % kHeadCount].At[i] = 1;
            }
        }
        return heads;
    }

    std::vector<BYTE> buffers_[kHeadCount];
    IMAGEWORK work_ = {};
    BYTE byteRuns_[kRowCodeBytes];
    BYTE runCodes_[kRowCodeBytes];
    ktdecode::Variant variant_;
};

class EveryVariant : public RoundTrip, public ::testing::WithParamInterface<LONG> {};

TEST_P(EveryVariant, EveryCombinationPrintsThePageWhereTheRulesPlaceIt) {
    const LONG model = GetParam();
    std::minstd_rand random(11 + static_cast<unsigned>(model));
    int cases = 0;
    {
        const LONG maxMm = GetVariant(model).MaxWidth / 10;
        // A small label, and (for fewer combinations) one that lies wider across the head than it prints,
        // which is cut to the head: its width or its length, by the rotation.
        const struct {
            LONG Width, Length;
            bool Every;
        } sizes[] = {{13, 7, true}, {maxMm + 3, 12, false}, {12, maxMm + 3, false}};
        for (const auto& size : sizes) {
            for (int orientation : {1, 2}) {
                for (LONG choice : {0, 1}) {
                    if (orientation == DMORIENT_PORTRAIT && choice == 1) {
                        continue;
                    }
                    for (LONG rotation : {0, 1, 2, 3, 7}) {
                        for (int flags = 0; flags < 8; ++flags) {
                            for (LONG correction : {0, 17, -800}) {
                                const bool expand = flags & 1;
                                if (!expand && correction != 0) {
                                    continue; // the printer applies X correction only where the driver places
                                }
                                const bool acrossIsLength = rotation % 2 == 1;
                                if (!size.Every && (flags != 1 || correction == 17 ||
                                                    (size.Width > size.Length) == acrossIsLength)) {
                                    continue;
                                }
                                const Case c = {model,
                                                size.Width,
                                                size.Length,
                                                orientation,
                                                choice,
                                                rotation,
                                                expand,
                                                (flags & 2) != 0,
                                                (flags & 4) != 0,
                                                {correction, -correction / 2}};
                                SCOPED_TRACE(Describe(c));
                                const auto page = RandomPage(c, random, size.Every ? 30 : 4);
                                const ktdecode::Result result = Run(c, {page});
                                ASSERT_TRUE(result.ok) << result.error.Message();
                                ASSERT_EQ(result.pages.size(), 1u);
                                const ktdecode::Variant v = DecoderVariant(model);
                                for (int h = 0; h < kHeadCount; ++h) {
                                    ASSERT_TRUE(
                                        SameImage(Expected(c, page[h], h, v), result.pages[0].heads[h].image))
                                        << "head " << h + 1;
                                }
                                ++cases;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(cases, 0);
}

INSTANTIATE_TEST_SUITE_P(Models, EveryVariant, ::testing::Range(LONG{0}, static_cast<LONG>(kVariantCount)));

// A later page sends only the blocks that changed; the printer keeps the others, so every page still
// prints whole.
TEST_F(RoundTrip, LaterPagesSendOnlyWhatChanged) {
    std::minstd_rand random(13);
    const Case c = {0, 20, 20, DMORIENT_PORTRAIT, 0, 0, false, true, true, {0, 0}};
    auto first = RandomPage(c, random, 20);
    auto second = first;
    const LONG blockRows = GetVariant(LONG{0}).Head.BlockRows;
    // A change in block 3 of head 1 only, at a dot head 2 leaves white (a pixel has one colour).
    LONG x = 0;
    while (kHeadCount > 1 && second[kHeadCount - 1](x, 2 * blockRows + 3)) {
        ++x;
    }
    second[0](x, 2 * blockRows + 3) ^= 1;
    ktdecode::Result result = Run(c, {first, second, second});
    ASSERT_TRUE(result.ok) << result.error.Message();
#if defined(KT_PROFILE_B)
    // Nothing at all comes between the second and third print commands: one page printed twice.
    ASSERT_EQ(result.pages.size(), 2u);
    EXPECT_EQ(result.pages[1].copies, 2);
    result.pages.push_back(result.pages[1]);
#endif
    ASSERT_EQ(result.pages.size(), 3u);
    const ktdecode::Variant v = DecoderVariant(0);
    EXPECT_EQ(result.pages[1].heads[0].blocksSent, std::vector<int>{3});
#if defined(KT_PROFILE_A)
    EXPECT_TRUE(result.pages[2].heads[0].blocksSent.empty());
#endif
    for (int h = 0; h < kHeadCount; ++h) {
        EXPECT_GT(result.pages[0].heads[h].blocksSent.size(), 1u);
        EXPECT_TRUE(SameImage(Expected(c, first[h], h, v), result.pages[0].heads[h].image));
        EXPECT_TRUE(SameImage(Expected(c, second[h], h, v), result.pages[1].heads[h].image));
        EXPECT_TRUE(SameImage(Expected(c, second[h], h, v), result.pages[2].heads[h].image));
    }
#if defined(KT_PROFILE_A)
    EXPECT_TRUE(result.pages[1].heads[1].blocksSent.empty());
#endif
}

} // namespace
