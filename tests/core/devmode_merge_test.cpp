// How a caller's record is checked and merged into the printer's settings.
#include "bytes.h"
#include "sim_printer.h"

#include "label_store.h"
#include "os_version.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr LONG kSmallestMaxLength = 5000; // 0.1 mm, the variant at ModelIndex 0 of both profiles

class Merge : public SimPrinterTest {
  protected:
    // A record this driver made, as an application would hand it back.
    std::unique_ptr<DRVDEVMODE> Exchanged() {
        auto rec = std::make_unique<DRVDEVMODE>(Settled());
        std::memset(&rec->Extension, 0, sizeof(rec->Extension));
        return rec;
    }
    // Adds a third label to a record so that a merged private block is recognisable.
    static void AddLabel(DRVDEVMODE* rec, const WCHAR* name, DWORD id) {
        LABELINFO& l = rec->Private.Labels[rec->Private.LabelCount++];
        l = rec->Private.Labels[0];
        WStrCopy(l.Name, name);
        l.Id = id;
    }
};

TEST_F(Merge, AnotherDriverVersionKeepsThePublicFieldsOnly) {
    auto input = Exchanged();
    AddLabel(input.get(), TEXT("Foreign"), 32767);
    input->Public.dmDriverVersion = 0x0200;
    input->Public.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    input->Public.dmOrientation = DMORIENT_LANDSCAPE;
    input->Public.dmPaperSize = 256;
    input->Public.dmCopies = 7;
    DRVDEVMODE out = Settled(&input->Public);
    EXPECT_EQ(out.Private.LabelCount, 2) << "the private block of another driver version must be ignored";
    EXPECT_EQ(out.Private.Orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(out.Private.PaperId, 256u);
    EXPECT_EQ(out.Private.Copies, 7);
    EXPECT_EQ(out.Public.dmOrientation, DMORIENT_LANDSCAPE);
}

TEST_F(Merge, AValidInputBringsItsWholePrivateBlock) {
    auto input = Exchanged();
    AddLabel(input.get(), TEXT("Mine"), 32767);
    input->Private.PaperId = 32767;
    input->Private.SpareFlag1 = 1;
    input->Public.dmFields &= ~DM_PAPERSIZE; // a listed public paper size would win over the private one
    DRVDEVMODE out = Settled(&input->Public);
    EXPECT_EQ(out.Private.LabelCount, 3);
    EXPECT_EQ(out.Private.PaperId, 32767u);
    EXPECT_EQ(out.Private.SpareFlag1, 1);
    EXPECT_TRUE(WStrEqual(out.Public.dmFormName, TEXT("Mine")));
}

TEST_F(Merge, AFaultyInputLeavesTheStoredLabelListInPlace) {
    DRVDEVMODE stored = Settled();
    AddLabel(&stored, TEXT("Stored"), 32767);
    StoreValue("Private Paper", stored.Private.Labels, sizeof(stored.Private.Labels));
    auto input = Exchanged();
    input->Public.dmSpecVersion = 0x0400;
    EXPECT_EQ(Settled(&input->Public).Private.LabelCount, 3);
}

TEST_F(Merge, CustomSizeIsBoundedByTheMaximumLengthInBothDirections) {
    struct Row {
        short Width, Length;
        bool Taken;
    } rows[] = {
        {2000, 1000, true}, // wider than any head, still within the longest label
        {static_cast<short>(kSmallestMaxLength), 10, true},
        {static_cast<short>(kSmallestMaxLength + 1), 1000, false},
        {1000, 6000, false},
        {10, 10, true},
        {9, 100, false},
        {100, 9, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.Width << " x " << r.Length);
        auto input = Exchanged();
        input->Public.dmDriverVersion = 0; // public fields only
        input->Public.dmFields = DM_PAPERSIZE;
        input->Public.dmPaperSize = 256;
        input->Public.dmPaperWidth = r.Width;
        input->Public.dmPaperLength = r.Length;
        DRVDEVMODE out = Settled(&input->Public);
        EXPECT_EQ(out.Private.PaperId, 256u) << "256 is in the label list, so it is selected either way";
        EXPECT_EQ(out.Private.CustomWidth == r.Width && out.Private.CustomLength == r.Length, r.Taken);
    }
}

TEST_F(Merge, CopiesOutsideTheRangeAreIgnored) {
    const struct {
        short Copies;
        LONG Expected;
    } rows[] = {{0, 1}, {1, 1}, {2, 2}, {9999, 9999}, {10000, 1}, {-3, 1}};
    for (const auto& r : rows) {
        auto input = Exchanged();
        input->Public.dmDriverVersion = 0;
        input->Public.dmFields = DM_COPIES;
        input->Public.dmCopies = r.Copies;
        EXPECT_EQ(Settled(&input->Public).Private.Copies, r.Expected) << r.Copies;
    }
}

TEST_F(Merge, OnlyTheRenderingLibraryTakesCopiesWithoutTheirFlag) {
    auto input = Exchanged();
    input->Public.dmDriverVersion = 0;
    input->Public.dmFields = 0;
    input->Public.dmCopies = 5;
    EXPECT_EQ(Settled(&input->Public).Private.Copies, 1);
    auto rendered = std::make_unique<DRVDEVMODE>();
    ASSERT_TRUE(GetDriverDevMode(rendered.get(), &input->Public, printer_, kPrinterNameW));
    EXPECT_EQ(rendered->Private.Copies, 5);
}

TEST_F(Merge, ListedFieldsNeedKnownValues) {
    auto input = Exchanged();
    input->Public.dmDriverVersion = 0;
    input->Public.dmFields = DM_MEDIATYPE | DM_DEFAULTSOURCE | DM_ORIENTATION | DM_COLLATE | DM_PRINTQUALITY;
    input->Public.dmMediaType = 3;
    input->Public.dmDefaultSource = 4;
    input->Public.dmOrientation = 3;
    input->Public.dmCollate = 1;
    input->Public.dmPrintQuality = 600; // no variant pairs 600 with this y
    input->Public.dmYResolution = 300;
    DRVDEVMODE out = Settled(&input->Public);
    EXPECT_EQ(out.Private.MediaType, 3u);
    EXPECT_EQ(out.Public.dmMediaType, 1u) << "the public media type is always plain paper";
    EXPECT_EQ(out.Private.InputSlot, 4u);
    EXPECT_EQ(out.Private.Orientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(out.Private.Collate, 1);
    EXPECT_EQ(out.Public.dmCollate, 0) << "collation is not offered, so the public field stays 0";
    EXPECT_EQ(out.Private.ResolutionIndex, 0);

    input->Public.dmMediaType = 9;
    input->Public.dmDefaultSource = 15;
    out = Settled(&input->Public);
    EXPECT_EQ(out.Private.MediaType, 1u);
    EXPECT_EQ(out.Private.InputSlot, 14u);
}

TEST_F(Merge, AShortOlderPublicPartPassesThroughUnchanged) {
    constexpr WORD kOldSize = 156;
    constexpr WORD kExtra = 40;
    std::vector<uint8_t> input(kOldSize + kExtra);
    for (size_t i = 0; i < input.size(); ++i) {
        input[i] = static_cast<uint8_t>(i * 7 + 1);
    }
    DEVMODEW head;
    std::memcpy(&head, input.data(), offsetof(DEVMODEW, dmFields));
    head.dmSize = kOldSize;
    head.dmDriverExtra = kExtra;
    std::memcpy(input.data(), &head, offsetof(DEVMODEW, dmFields));
    std::vector<uint8_t> out(kExchangedSize, 0xEE);
    ASSERT_EQ(GetDriverDevMode(out.data(), reinterpret_cast<DEVMODEW*>(input.data()), printer_, kPrinterNameW,
                               GDM_COPY_EXCHANGED | GDM_TAKE_INPUT, CALLER_CONFIG),
              1u);
    EXPECT_TRUE(SameBytes(input, out.data(), input.size()));
    EXPECT_EQ(out[input.size()], 0xEE);
}

TEST_F(Merge, AStoredRecordWithoutItsDeviceExtensionFallsBackToDefaults) {
    auto stored = Exchanged();
    stored->Private.Copies = 12;
    StoreDevMode(stored.get(), kExchangedSize);
    DRVDEVMODE defaults = Settled();
    EXPECT_EQ(defaults.Private.Copies, 1);

    DRVDEVMODE ext = defaults;
    StoreValue("Private DevMode", &ext.Extension, sizeof(ext.Extension));
    EXPECT_EQ(Settled().Private.Copies, 12);
    StoreValue("Private DevMode", &ext.Extension, sizeof(ext.Extension) - 4);
    EXPECT_EQ(Settled().Private.Copies, 1) << "a device extension of another size is not used";
}

// The stored public part may have been written by anybody; with no input to merge it is still
// rewritten from the private block, so it names the label that "Private Paper" really holds.
TEST_F(Merge, WithoutAnInputThePublicPartFollowsTheStoredLabelList) {
    auto stored = Exchanged();
    stored->Public.dmPaperWidth = 1234;
    stored->Public.dmCopies = 9;
    WStrCopy(stored->Public.dmFormName, TEXT("Stale"));
    StoreDevMode(stored.get(), kExchangedSize);
    StoreValue("Private DevMode", &stored->Extension, sizeof(stored->Extension));
    LABELINFO labels[kMaxLabels] = {};
    labels[0] = stored->Private.Labels[0];
    labels[1] = stored->Private.Labels[1];
    labels[0].Width = 50;
    WStrCopy(labels[0].Name, TEXT("Fresh"));
    StoreValue("Private Paper", labels, sizeof(labels));
    for (DWORD mode : {GDM_COPY_WORKING, GDM_COPY_EXCHANGED}) {
        SCOPED_TRACE(mode);
        DRVDEVMODE out = Settled(nullptr, mode);
        EXPECT_EQ(out.Public.dmPaperWidth, 500);
        EXPECT_EQ(out.Public.dmCopies, 1);
        EXPECT_TRUE(WStrEqual(out.Public.dmFormName, TEXT("Fresh")));
    }
}

TEST_F(Merge, APaperIdOutsideTheListFallsBackToTheCustomSizeAndTheFirstName) {
    auto input = Exchanged();
    input->Public.dmFields &= ~DM_PAPERSIZE;
    input->Private.PaperId = 4711;
    input->Private.CustomWidth = 555;
    input->Private.CustomLength = 444;
    input->Private.MediaType = 2;
    DRVDEVMODE out = Settled(&input->Public);
    EXPECT_EQ(out.Public.dmPaperSize, 4711);
    EXPECT_EQ(out.Public.dmPaperWidth, 555);
    EXPECT_EQ(out.Public.dmPaperLength, 444);
    EXPECT_TRUE(WStrEqual(out.Public.dmFormName, out.Private.Labels[0].Name));
    EXPECT_EQ(out.Public.dmMediaType, 1u);
}

TEST_F(Merge, DeviceNamesCountOnlyBeforeVista) {
    auto input = Exchanged();
    WStrCopy(input->Public.dmDeviceName, TEXT("Another Printer"));
    input->Private.SpareFlag1 = 1; // marks a record whose private block was used
    StoreDevMode(input.get(), kExchangedSize);
    DRVDEVMODE ext = Settled();
    StoreValue("Private DevMode", &ext.Extension, sizeof(ext.Extension));

    winsim_set_windows_version(5, 1, 3, 2600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    ASSERT_LT(GetOsVersionCode(), OSCODE_VISTA);
    EXPECT_EQ(Settled().Private.SpareFlag1, 0) << "stored record of another printer";
    EXPECT_EQ(Settled(&input->Public).Private.SpareFlag1, 0) << "input of another printer";

    winsim_set_windows_version(6, 0, 0, 6000, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(Settled().Private.SpareFlag1, 1);
    input->Private.SpareFlag1 = 2;
    EXPECT_EQ(Settled(&input->Public).Private.SpareFlag1, 2);
}

TEST(DeviceNames, CompareTheLastPathPartUpToAComma) {
    const struct {
        const WCHAR* A;
        const WCHAR* B;
        bool Agree;
    } rows[] = {
        {TEXT("Label Printer"), TEXT("Label Printer"), true},
        {TEXT("\\\\server\\Label Printer,winspool"), TEXT("Label Printer"), true},
        {TEXT("Label"), TEXT("Label Printer"), true}, // the shorter length decides
        {TEXT(""), TEXT("Label Printer"), true},
        {TEXT("Other"), TEXT("Label Printer"), false},
        {TEXT("\\\\server\\Other"), TEXT("Label Printer"), false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(DeviceNamesAgree(r.A, MAX_PATH, r.B, MAX_PATH), r.Agree);
        EXPECT_EQ(DeviceNamesAgree(r.B, MAX_PATH, r.A, MAX_PATH), r.Agree);
    }
}

TEST_F(Merge, CheckDevModeNamesEveryFault) {
    auto input = Exchanged();
    EXPECT_EQ(CheckDevMode(&input->Public, kPrinterNameW), 0u);
    input->Public.dmSpecVersion = 0x0400;
    input->Public.dmDriverVersion = 0x0101;
    WStrCopy(input->Public.dmDeviceName, TEXT("Other"));
    input->Private.Signature = 0;
    EXPECT_EQ(CheckDevMode(&input->Public, kPrinterNameW),
              DMFAULT_SPEC_VERSION | DMFAULT_DRIVER_VERSION | DMFAULT_SIGNATURE | DMFAULT_DEVICE_NAME);
    EXPECT_FALSE(IsValidDevMode(&input->Public));
}

TEST_F(Merge, AllocationFailureReturnsZeroAndLeavesOutAlone) {
    std::vector<uint8_t> out(kWorkingSize, 0x5A);
    winsim_fail_next("GlobalAlloc", 1);
    EXPECT_EQ(GetDriverDevMode(out.data(), nullptr, printer_, kPrinterNameW, GDM_COPY_WORKING, CALLER_CONFIG),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0x5A; }));
}

} // namespace
