// The image sender on small hand-made pages, its streams written out from the command format: which
// blocks go, where they are placed, and what never prints.
#include "render_fixture.h"

#include "image_sender.h"
#include "model_lookup.h"
#include "row_coder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWhite = 0xFFFFFF;
constexpr DWORD kBlack = 0x000000;
constexpr DWORD kRed = 0x0000FF;

// A page as the engine leaves it: 24-bit pixels in profile A, 1 bit per pixel (1 = white) in B, rows
// padded to 4 bytes with zero bytes, as a fresh engine bitmap has them.
class Canvas {
  public:
    Canvas(LONG width, LONG rows) : width_(width), rows_(rows) {
#if defined(KT_PROFILE_A)
        stride_ = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
#else
        stride_ = (static_cast<size_t>(width) + 31) / 32 * 4;
#endif
        bits_.assign(stride_ * static_cast<size_t>(rows), 0);
        for (LONG y = 0; y < rows; ++y) {
            for (LONG x = 0; x < width; ++x) {
                Set(x, y, kWhite);
            }
        }
    }
    // A dot of head 1 (black) or head 2 (red).
    void Dot(LONG x, LONG y, int head = 1) {
        Set(x, y, head == 1 ? kBlack : kRed);
    }
    void Set(LONG x, LONG y, DWORD color) {
        BYTE* row = bits_.data() + static_cast<size_t>(y) * stride_;
#if defined(KT_PROFILE_A)
        row[3 * x] = static_cast<BYTE>(color);
        row[3 * x + 1] = static_cast<BYTE>(color >> 8);
        row[3 * x + 2] = static_cast<BYTE>(color >> 16);
#else
        const BYTE mask = static_cast<BYTE>(0x80 >> (x % 8));
        row[x / 8] = color == kWhite ? (row[x / 8] | mask) : (row[x / 8] & ~mask);
#endif
    }
    BANDBITS Band() const {
        return {bits_.data(), static_cast<LONG>(stride_), width_, rows_};
    }

  private:
    LONG width_, rows_;
    size_t stride_;
    std::vector<BYTE> bits_;
};

std::string Field(const char* format, long long v) {
    char text[32];
    std::snprintf(text, sizeof(text), format, static_cast<int>(v));
    return text;
}

std::string Header(bool expand, int block, long long x, long long y, long long rows, long long width) {
    return std::string("\x02") + (expand ? "#" : "M") + Field("%02X", block) + Field("%04d", x) +
           Field("%04d", y) + Field("%04d", rows) + Field("%04d", width) + "0\x03";
}

std::string Raw(bool expand, int block, const Bytes& row) {
    return std::string("\x02") + (expand ? "$" : "I") + Field("%02X", block) +
           std::string(row.begin(), row.end()) + "\x03";
}

// The stream for what each head sends: profile A selects each head first, profile B has one head.
std::string Heads(const std::string& head1, const std::string& head2 = "") {
#if defined(KT_PROFILE_A)
    return "\x02h1\x03" + head1 + "\x02h2\x03" + head2;
#else
    (void)head2;
    return head1;
#endif
}

class ImageSenderTest : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        out_ = TestOutput();
        label_ = GetVariant(LONG{0}).Model.Values;
#if defined(KT_PROFILE_A)
        label_.HeadColor1 = kBlack;
        label_.HeadColor2 = kRed;
#endif
        label_.Compress = 0;
        settings_ = {&label_, 1000, 800, DMORIENT_PORTRAIT, 0, GetVariant(LONG{0}).Head, 1600};
        compare_.Bytes = kMaxPlaneBytes;
        compare_.FirstPage = true;
        for (auto& b : buffers_) {
            b.assign(kMaxPlaneBytes, 0);
        }
        for (int h = 0; h < kHeadCount; ++h) {
            compare_.Buffers[h] = buffers_[h].data();
        }
        work_.ByteRuns = byteRuns_;
        work_.RunCodes = runCodes_;
    }
    void TearDown() override {
        ReleaseImageWork(&work_);
        RenderTest::TearDown();
    }
    // The bytes one call sends.
    std::string Send(const Canvas& canvas, ImageResult expected = ImageResult::Sent) {
        StartJob();
        EXPECT_EQ(SendImage(canvas.Band(), settings_, compare_, work_, out_), expected);
        out_.Flush();
        EndJob();
        Bytes bytes = JobBytes();
        return std::string(bytes.begin(), bytes.end());
    }

    OutputBuffer out_;
    LABELVALUES label_;
    IMAGESETTINGS settings_;
    COMPARESTATE compare_ = {};
    std::vector<BYTE> buffers_[kHeadCount];
    IMAGEWORK work_ = {};
    BYTE byteRuns_[kRowCodeBytes];
    BYTE runCodes_[kRowCodeBytes];
};

// In these tests the variant is slot 0 of the profile: profile A's head has 1,200 dots per 100 mm and
// prints 160 mm; profile B's 800 dots and 104 mm.
#if defined(KT_PROFILE_A)
constexpr long long kCentred100mm = 300; // (1600 - 1000) / 2
constexpr long long kCentredDots = 360;
#else
constexpr long long kCentred100mm = 20; // (1040 - 1000) / 2
constexpr long long kCentredDots = 16;
#endif

TEST_F(ImageSenderTest, AnEmptyFirstPageSendsOnlyTheHeadSelects) {
    settings_.MaxPrintWidth = GetVariant(LONG{0}).MaxWidth;
    EXPECT_EQ(Send(Canvas(64, 200)), Heads(""));
    EXPECT_EQ(Send(Canvas(64, 200)), Heads("")) << "and a later page that did not change the same";
}

TEST_F(ImageSenderTest, ANarrowLabelIsCentredOnTheHead) {
    settings_.MaxPrintWidth = GetVariant(LONG{0}).MaxWidth;
    Canvas page(16, 1);
    page.Dot(0, 0);
    page.Dot(15, 0);
    EXPECT_EQ(Send(page), Heads(Header(false, 1, kCentred100mm, 0, 1, 16) + Raw(false, 1, {0x80, 0x01})));

    label_.DriverExpand = 1;
    compare_.FirstPage = true;
    const long long shift = kCentredDots % 8; // the offset's dots below a whole byte move every row
    const Bytes shifted =
        shift ? Bytes{static_cast<BYTE>(0x80 >> shift), 0x00, static_cast<BYTE>(0x100 >> shift)}
              : Bytes{0x80, 0x01};
    EXPECT_EQ(Send(page),
              Heads(Header(true, 1, kCentredDots - shift, 0, 1, 16 + shift) + Raw(true, 1, shifted)));
}

TEST_F(ImageSenderTest, AnOffsetPastTheLeftEdgeDropsWholeBytes) {
    settings_.MaxPrintWidth = 1000; // the label fills the head: no centring
    label_.DriverExpand = 1;
    // -0.5 mm: -6 dots at 1,200 dots per 100 mm, -4 at 800. Dots 7 and 15 land 6 (4) dots further left.
#if defined(KT_PROFILE_A)
    label_.XAdjust1 = -5;
    const Bytes row = {0x40, 0x40}; // shifted right by 2 into three bytes, the first dropped
    const long long width = 10;     // 16 + 2 - 8
#else
    label_.XAdjust1 = -5;
    const Bytes row = {0x10, 0x10}; // shifted right by 4, the first byte dropped
    const long long width = 12;     // 16 + 4 - 8
#endif
    Canvas page(16, 1);
    page.Dot(7, 0);
    page.Dot(15, 0);
    EXPECT_EQ(Send(page), Heads(Header(true, 1, 0, 0, 1, width) + Raw(true, 1, row)));
}

TEST_F(ImageSenderTest, OnlyExactHeadColoursPrint) {
    settings_.MaxPrintWidth = 1000;
    Canvas page(8, 1);
#if defined(KT_PROFILE_A)
    page.Set(0, 0, 0x000001); // one step away from head 1's black
    page.Set(1, 0, 0x0000FE); // and from head 2's red
    page.Set(2, 0, kBlack);
    page.Set(3, 0, kRed);
    EXPECT_EQ(Send(page), Heads(Header(false, 1, 0, 0, 1, 8) + Raw(false, 1, {0x20}),
                                Header(false, 1, 0, 0, 1, 8) + Raw(false, 1, {0x10})));
#else
    page.Dot(2, 0);
    EXPECT_EQ(Send(page), Heads(Header(false, 1, 0, 0, 1, 8) + Raw(false, 1, {0x20})));
#endif
}

// A surface row is padded to 4 bytes; the padding is zero, which is black, head 1's colour. It lies
// outside the page and must never print.
TEST_F(ImageSenderTest, RowPaddingNeverPrints) {
    settings_.MaxPrintWidth = 1000;
    for (LONG width : {7, 15, 31}) {
        SCOPED_TRACE(width);
        compare_.FirstPage = true;
        EXPECT_EQ(Send(Canvas(width, 3)), Heads(""));
    }
}

TEST_F(ImageSenderTest, ALaterPageSendsOnlyTheBlocksThatChanged) {
    settings_.MaxPrintWidth = 1000;
    label_.BandSplit = 1;
    const LONG blockRows = settings_.Head.BlockRows;
    Canvas page(16, 3 * blockRows);
    for (int b = 0; b < 3; ++b) {
        page.Dot(1, b * blockRows);
    }
    const std::string first = Send(page);
    EXPECT_NE(first.find(Header(false, 3, 0, 2 * settings_.Head.BlockStep, blockRows, 16)),
              std::string::npos);
    page.Dot(9, 2 * blockRows + 1);
    const std::string block3 = Header(false, 3, 0, 2 * settings_.Head.BlockStep, blockRows, 16);
    std::string rows = Raw(false, 3, {0x40, 0x00}) + Raw(false, 3, {0x00, 0x40});
    for (LONG r = 2; r < blockRows; ++r) {
        rows += Raw(false, 3, {0x00, 0x00});
    }
    EXPECT_EQ(Send(page), Heads(block3 + rows));
    EXPECT_EQ(Send(page), Heads("")) << "an unchanged page sends no block";
}

// Landscape with the 270-degree choice turns the page the other way round from the 90-degree one.
TEST_F(ImageSenderTest, LandscapeTurnsEitherWay) {
    settings_.MaxPrintWidth = 1000;
    settings_.Orientation = DMORIENT_LANDSCAPE;
    Canvas page(8, 2); // landscape: 8 dots along the label's length, 2 across
    page.Dot(0, 0);
    const struct {
        LONG Choice;
        LONG Row; // the one row of the turned plane with the dot
        BYTE Byte;
    } rows[] = {
        {0, 7, 0x80}, // a quarter turn counter-clockwise: the first column becomes the last row
        {1, 0, 0x40}, // clockwise: the first column becomes the first row, the first row the last column
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Choice);
        settings_.LandscapeRotation = r.Choice;
        compare_.FirstPage = true;
        std::string sent = Header(false, 1, 0, 0, 8, 2);
        for (LONG y = 0; y < 8; ++y) {
            sent += Raw(false, 1, {static_cast<BYTE>(y == r.Row ? r.Byte : 0)});
        }
        EXPECT_EQ(Send(page), Heads(sent));
    }
}

TEST_F(ImageSenderTest, APlaneOverTheLimitSendsNothing) {
    settings_.MaxPrintWidth = 1000;
    settings_.LabelLength = 1; // turned, the page's length is across: a quarter turn of a 1-row page
    label_.Rotation = 1;
    // Turned, every dot of the row becomes a row of one byte: 4,000,000 rows fill the limit exactly.
    EXPECT_EQ(Send(Canvas(4000000, 1)), Heads(""));
    EXPECT_EQ(Send(Canvas(4000008, 1), ImageResult::TooLarge), "");
}

#if defined(KT_PROFILE_B)
// The 600 dpi head: 2,360 dots per 100 mm and blocks of 59 rows, 2.5 mm apart.
TEST_F(ImageSenderTest, DriverExpansionUsesTheVariantsOwnHead) {
    settings_.Head = GetVariant(LONG{9}).Head;
    settings_.MaxPrintWidth = GetVariant(LONG{9}).MaxWidth; // 105.6 mm
    label_.DriverExpand = 1;
    Canvas page(8, 60);
    page.Dot(0, 0);
    page.Dot(0, 59);
    // Centring (1056 - 1000) / 2 = 28 tenths = 66 dots: X 64 and a shift of 2.
    const std::string sent = Header(true, 1, 64, 0, 59, 10) + Raw(true, 1, {0x20, 0x00}) +
                             [] {
                                 std::string s;
                                 for (int r = 1; r < 59; ++r) {
                                     s += Raw(true, 1, {0x00, 0x00});
                                 }
                                 return s;
                             }() +
                             Header(true, 2, 64, 59, 1, 10) + Raw(true, 2, {0x20, 0x00});
    EXPECT_EQ(Send(page), sent);
}
#endif

} // namespace
