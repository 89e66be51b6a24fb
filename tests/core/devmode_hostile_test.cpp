// Random and mutated records and stored state through the device-record service. Run under the
// sanitizers, an out-of-bounds read or write fails the test even when the result looks right.
#include <gtest/gtest.h>

#include "hostile_case.h"

#include <random>

namespace {

TEST(HostileRecords, EverySettledRecordIsSafe) {
    std::mt19937 random(20261210);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 6000; ++i) {
        bytes.resize(32 + random() % 600);
        for (uint8_t& b : bytes) {
            b = static_cast<uint8_t>(random());
        }
        std::string why = hostile::Run(bytes.data(), bytes.size());
        ASSERT_TRUE(why.empty()) << "case " << i << ": " << why;
    }
    winsim_reset();
}

// The corrections one by one, each from a record that was otherwise valid.
TEST(HostileRecords, EachOutOfRangeFieldIsMended) {
    winsim_reset();
    ASSERT_EQ(winsim_add_printer("P", "KT-936U-16 KT-508X", "USB001", "winprint", 0x40), 1);
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenDriverPrinter(TEXT("P"), 1, &printer));
    auto good = std::make_unique<DRVDEVMODE>();
    ASSERT_EQ(GetDriverDevMode(good.get(), nullptr, printer, TEXT("P"), GDM_COPY_WORKING, CALLER_CONFIG), 1u);
    const LONG driverModel = good->Private.ModelIndex;
    const struct {
        const char* Field;
        void (*Break)(DRVDEVMODE&);
        bool (*Mended)(const DRVDEVMODE&, LONG driverModel);
    } rows[] = {
        {"ModelIndex from the driver name", [](DRVDEVMODE& r) { r.Private.ModelIndex = 4000; },
         [](const DRVDEVMODE& r, LONG m) { return r.Private.ModelIndex == m; }},
        {"negative ModelIndex", [](DRVDEVMODE& r) { r.Private.ModelIndex = -1; },
         [](const DRVDEVMODE& r, LONG m) { return r.Private.ModelIndex == m; }},
        {"LabelCount above 250", [](DRVDEVMODE& r) { r.Private.LabelCount = 100000; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.LabelCount == 250; }},
        {"LabelCount below 2", [](DRVDEVMODE& r) { r.Private.LabelCount = -5; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.LabelCount == 2; }},
        {"CurrentLabel past the list", [](DRVDEVMODE& r) { r.Private.CurrentLabel = 2; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.CurrentLabel == 0; }},
        {"ResolutionIndex", [](DRVDEVMODE& r) { r.Private.ResolutionIndex = 7; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.ResolutionIndex == 0; }},
        {"halftone pattern rows",
         [](DRVDEVMODE& r) {
             r.Private.PatternIndex = 4;
             r.Private.PatternIndex2 = -1;
         },
         [](const DRVDEVMODE& r, LONG) {
             return r.Private.PatternIndex == 0 && r.Private.PatternIndex2 == 1;
         }},
        {"label name without its NUL",
         [](DRVDEVMODE& r) {
             for (WCHAR& c : r.Private.Labels[0].Name) {
                 c = TEXT('A');
             }
         },
         [](const DRVDEVMODE& r, LONG) {
             return r.Private.Labels[0].Name[63] == 0 && r.Private.Labels[0].Name[62] == TEXT('A');
         }},
        {"SurfaceToPrint", [](DRVDEVMODE& r) { r.Private.SurfaceToPrint = 9; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.SurfaceToPrint == kDefaultSurfaceToPrint; }},
        {"copies", [](DRVDEVMODE& r) { r.Private.Copies = 0; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.Copies == 1; }},
        {"rendering library's reserved bytes", [](DRVDEVMODE& r) { r.Private.Reserved[3] = 0x7F; },
         [](const DRVDEVMODE& r, LONG) { return r.Private.Reserved[3] == 0; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Field);
        auto input = std::make_unique<DRVDEVMODE>(*good);
        input->Public.dmFields = 0; // only the private block speaks
        row.Break(*input);
        auto out = std::make_unique<DRVDEVMODE>();
        ASSERT_EQ(GetDriverDevMode(out.get(), &input->Public, printer, TEXT("P"),
                                   GDM_COPY_WORKING | GDM_TAKE_INPUT, CALLER_CONFIG),
                  1u);
        EXPECT_TRUE(row.Mended(*out, driverModel));
        EXPECT_EQ(hostile::CheckSettled(*out, true), "");

        // The same record stored as the printer's default is mended the same way.
        ASSERT_EQ(winsim_set_printer_devmode("P", input.get(), static_cast<uint32_t>(kExchangedSize)), 1);
        ASSERT_EQ(
            winsim_set_printer_data("P", "Private DevMode", REG_BINARY, &good->Extension, sizeof(DEVICEEXT)),
            1);
        ASSERT_EQ(GetDriverDevMode(out.get(), nullptr, printer, TEXT("P"), GDM_COPY_WORKING, CALLER_CONFIG),
                  1u);
        EXPECT_TRUE(row.Mended(*out, driverModel));
        winsim_set_printer_devmode("P", nullptr, 0);
    }
    ClosePrinter(printer);
    winsim_reset();
}

} // namespace
