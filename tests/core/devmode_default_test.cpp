// The default record each variant hands out, checked byte by byte against the layout written out
// here from the record tables (not from the driver's own structs).
#include "bytes.h"
#include "sim_printer.h"

#include "model_lookup.h"

namespace {

struct VariantRow {
    const WCHAR* LabelName;
    uint32_t Width, Length; // 0.1 mm
    uint32_t Dpi;
};

#if defined(KT_PROFILE_A)
constexpr size_t kLabel = 232, kExchanged = 58388, kWorking = 58548, kTail = 58304;
constexpr uint32_t kExtra = 58168, kFields = 0x02002F0F, kColor = 2, kSurface = 3;
const VariantRow kRows[] = {
    {TEXT("標準ﾗﾍﾞﾙ(160x80)"), 1600, 800, 305},
    {TEXT("標準ﾗﾍﾞﾙ(210x297)"), 2100, 2970, 305},
};
#else
constexpr size_t kLabel = 212, kExchanged = 53372, kWorking = 53532, kTail = 53288;
constexpr uint32_t kExtra = 53152, kFields = 0x0200270F, kColor = 1, kSurface = 0;
const VariantRow kRows[] = {
    {TEXT("標準ﾗﾍﾞﾙ(100x80)"), 1000, 800, 203}, {TEXT("標準ﾗﾍﾞﾙ(160x80)"), 1600, 800, 203},
    {TEXT("標準ﾗﾍﾞﾙ(100x80)"), 1000, 800, 300}, {TEXT("標準ﾗﾍﾞﾙ(160x80)"), 1600, 800, 300},
    {TEXT("標準ﾗﾍﾞﾙ(95x80)"), 950, 800, 400},   {TEXT("標準ﾗﾍﾞﾙ(100x80)"), 1000, 800, 203},
    {TEXT("標準ﾗﾍﾞﾙ(100x80)"), 1000, 800, 300}, {TEXT("標準ﾗﾍﾞﾙ(160x80)"), 1600, 800, 300},
    {TEXT("標準ﾗﾍﾞﾙ(95x80)"), 950, 800, 400},   {TEXT("標準ﾗﾍﾞﾙ(100x80)"), 1000, 800, 600},
};
#endif

void PutLabel(Bytes& b, size_t at, const WCHAR* name, uint32_t id, const VariantRow& row) {
    PutText(b, at, name, 63);
    Put32(b, at + 128, id);
    Put32(b, at + 132, row.Width / 10);
    Put32(b, at + 136, row.Length / 10);
    Put32(b, at + 140, 30); // gap
    Put32(b, at + 160, 1);  // copies
    Put32(b, at + 172, 3);  // dithering
    Put32(b, at + 176, 1);  // compress
    Put32(b, at + 192, 2);  // print speed
#if defined(KT_PROFILE_A)
    Put32(b, at + 196, 15);   // density 1
    Put32(b, at + 200, 15);   // density 2
    Put32(b, at + 204, 5);    // head voltage 1
    Put32(b, at + 208, 5);    // head voltage 2
    Put32(b, at + 216, 0xFF); // head colour 2: red
#else
    Put32(b, at + 196, 5); // density
    Put32(b, at + 200, 5); // head voltage
#endif
}

Bytes ExpectedWorking(int model) {
    const VariantRow& row = kRows[model];
    Bytes b(kWorking, 0);
    Put16(b, 64, 0x0401);
    Put16(b, 66, 0x0100);
    Put16(b, 68, 220);
    Put16(b, 70, static_cast<uint16_t>(kExtra));
    Put32(b, 72, kFields);
    Put16(b, 76, 1);   // portrait
    Put16(b, 78, 257); // the standard label
    Put16(b, 80, static_cast<uint16_t>(row.Length));
    Put16(b, 82, static_cast<uint16_t>(row.Width));
    Put16(b, 84, 100);
    Put16(b, 86, 1);
    Put16(b, 88, 14);
    Put16(b, 90, static_cast<uint16_t>(row.Dpi));
    Put16(b, 92, static_cast<uint16_t>(kColor));
    Put16(b, 94, 1);
    Put16(b, 96, static_cast<uint16_t>(row.Dpi));
    Put16(b, 98, 1);
    PutText(b, 102, row.LabelName, 31);
    Put32(b, 180, 2); // one page per sheet
    Put32(b, 196, 1); // plain paper
    Put32(b, 220, 257);
    Put32(b, 224, 1);
    Put32(b, 228, 14);
    Put32(b, 232, 1);
    Put32(b, 236, 1);
    Put32(b, 260, row.Width);
    Put32(b, 264, row.Length);
    Put32(b, 272, 2);
    PutLabel(b, 276, row.LabelName, 257, row);
    PutLabel(b, 276 + kLabel, TEXT("ユーザー定義"), 256, row);
    Put32(b, kTail, static_cast<uint32_t>(model));
    Put32(b, kTail + 4, kSurface);
    Put32(b, kTail + 16, 1); // second pattern
    const uint16_t colorAdjust[12] = {24, 0, 0, 10000, 10000, 10000, 0, 10000, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) {
        Put16(b, kTail + 20 + 2 * i, colorAdjust[i]);
    }
    Put32(b, kTail + 48, 1); // colour text
    Put32(b, kTail + 56, 1); // render mode A
    Put32(b, kTail + 60, 1); // pattern mode
    Put32(b, kTail + 80, 0x28116119);
    const uint32_t halftone[33] = {2,    7,     0,     6810,  3050,  0,    2260, 6550, 0,    1810, 500,
                                   0,    2000,  2450,  65534, 5210,  2100, 0,    4750, 5100, 0,    3324,
                                   3474, 10000, 10000, 10000, 10000, 1422, 952,  787,  495,  324,  248};
    for (int i = 0; i < 33; ++i) {
        Put32(b, kExchanged + 4 * i, halftone[i]);
    }
    Put32(b, kExchanged + 152, 0xFFFFFFFF); // no tray holds a known label
    Put32(b, kExchanged + 156, 0xFFFFFFFF);
    return b;
}

class DefaultRecord : public SimPrinterTest {};

TEST_F(DefaultRecord, EveryVariantMatchesTheTablesByteForByte) {
    for (int model = 0; model < static_cast<int>(std::size(kRows)); ++model) {
        if (IsPlaceholderVariant(model) && model != 0) {
            continue; // no real driver name selects these; slot 0 is still what an unknown name gets
        }
        SCOPED_TRACE(DriverNameFor(model));
        Install(model);
        Bytes expected = ExpectedWorking(model);
        std::vector<uint8_t> out(kWorking + 16, 0xAB);
        ASSERT_EQ(
            GetDriverDevMode(out.data(), nullptr, printer_, kPrinterNameW, GDM_COPY_WORKING, CALLER_CONFIG),
            1u);
        EXPECT_TRUE(SameBytes(expected, out.data(), kWorking));
        EXPECT_EQ(out[kWorking], 0xAB) << "wrote past the working record";

        std::vector<uint8_t> exchanged(kExchanged + 16, 0xAB);
        ASSERT_EQ(GetDriverDevMode(exchanged.data(), nullptr, printer_, kPrinterNameW, GDM_COPY_EXCHANGED,
                                   CALLER_CONFIG),
                  1u);
        expected.resize(kExchanged);
        EXPECT_TRUE(SameBytes(expected, exchanged.data(), kExchanged));
        EXPECT_EQ(exchanged[kExchanged], 0xAB) << "wrote past the exchanged record";
    }
}

TEST_F(DefaultRecord, ModeZeroAsksForTheWorkingSizeOnly) {
    const uint32_t before = winsim_call_count("GetPrinterW");
    EXPECT_EQ(GetDriverDevMode(nullptr, nullptr, printer_, kPrinterNameW, 0, CALLER_CONFIG), kWorking);
    EXPECT_EQ(winsim_call_count("GetPrinterW"), before);
}

TEST_F(DefaultRecord, RenderingFormGivesTheSameRecord) {
    auto rendered = std::make_unique<DRVDEVMODE>();
    ASSERT_TRUE(GetDriverDevMode(rendered.get(), nullptr, printer_, kPrinterNameW));
    EXPECT_TRUE(SameBytes(ExpectedWorking(0), rendered.get(), kWorking));
}

} // namespace
