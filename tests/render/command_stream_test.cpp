// The job start, page end and document end bytes, checked against streams written out by hand from the
// printer's command table.
#include "render_fixture.h"

#include "commands.h"
#include "job_commands.h"
#include "run_state.h"

#include <climits>
#include <optional>

namespace {

const std::string STX = "\x02";
const std::string ETX = "\x03";
const std::string RESET = STX + "\x18" + ETX;
const std::string PRINT_ONE = STX + "\x0D" + ETX;
const std::string FINAL_CUT = STX + "\x12" + ETX;

// The standard label of variant 0 of each profile: 160 x 80 mm [100 x 80 mm], gap 3.0 mm, speed index 2,
// density index 15 [5], voltage index 5.
#if defined(KT_PROFILE_A)
const std::string STANDARD_FORMAT = STX + "F00" + "160" + "080" + "030" + "80" + ETX;
const std::string STANDARD_SETTINGS = STX + "A" + "02" + "15" + "05" + "15" + "05" + ETX;
#else
const std::string STANDARD_FORMAT = STX + "F00" + "100" + "080" + "030" + "80" + ETX;
const std::string STANDARD_SETTINGS = STX + "A" + "02" + "05" + "05" + ETX;
#endif
const std::string ZERO_POSITION = STX + "W" + "+000" + "+000" + "00" + "00" + ETX;

class CommandStream : public RenderTest {
  protected:
    // A device for the settings, with a job open to catch its bytes.
    PDEV* Device(const DRVDEVMODE* rec) {
        PDEV* pdev = EnableWithSurface(rec);
        EXPECT_NE(pdev, nullptr);
        StartJob();
        return pdev;
    }
    // The page counters as the page logic keeps them at the start of a page.
    static void AtPage(PDEV* pdev, LONG sinceEnable, LONG ofDocument) {
        pdev->PagesSinceEnable = sinceEnable;
        pdev->DocumentPages = ofDocument;
        pdev->TotalPages = ofDocument;
    }
    // What the command operations write for a document of `pages` pages without image data.
    Bytes Document(const DRVDEVMODE* rec, int pages, std::optional<LONG> copies = std::nullopt) {
        PDEV* pdev = Device(rec);
        if (!pdev) {
            return {};
        }
        if (copies) {
            pdev->Options.Copies = *copies; // as SETCOPYCOUNT leaves it
        }
        for (int page = 1; page <= pages; ++page) {
            AtPage(pdev, page, page);
            WriteJobHeader(pdev);
            WritePageEnd(pdev);
            pdev->Out.Flush();
        }
        WriteDocumentEnd(pdev);
        pdev->Out.Flush();
        EndJob();
        return JobBytes();
    }
    Bytes Header(const DRVDEVMODE* rec) {
        PDEV* pdev = Device(rec);
        if (!pdev) {
            return {};
        }
        AtPage(pdev, 1, 1);
        WriteJobHeader(pdev);
        pdev->Out.Flush();
        EndJob();
        return JobBytes();
    }
};

TEST_F(CommandStream, TwoPageDocumentWithCopiesCountAndFinalCut) {
    auto rec = JobSettings();
    rec->Private.Copies = 3;
    Label(rec.get()).Values.QuantityCommand = 1;
    Label(rec.get()).Values.CutLast = 1;
    Label(rec.get()).Values.PrintSettingsEnabled = 1;
    SyncPublicDevMode(rec.get());
    const std::string printCount3 = STX + "S" + "0003" + ETX;
    const Bytes expected = Stream(RESET + STANDARD_FORMAT + ZERO_POSITION + STANDARD_SETTINGS + printCount3 +
                                  printCount3 + FINAL_CUT);
    Bytes actual = Document(rec.get(), 2);
    EXPECT_TRUE(SameBytes(expected, actual.data(), actual.size()));
}

TEST_F(CommandStream, PageEndByQuantityCommand) {
    const struct {
        LONG QuantityCommand;
        LONG Copies;
        std::string PageEnd;
    } rows[] = {
        {0, 3, PRINT_ONE + PRINT_ONE + PRINT_ONE}, // "1枚": one command per copy
        {0, 0, ""},
        {0, -2, ""},
        {1, 3, STX + "S0003" + ETX}, // "枚数指定": the count in the command
        {1, 0, STX + "S0000" + ETX},
        {1, 12345, STX + "S12345" + ETX},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "quantity command " << r.QuantityCommand << ", copies " << r.Copies);
        auto rec = JobSettings();
        Label(rec.get()).Values.QuantityCommand = r.QuantityCommand;
        Bytes actual = Document(rec.get(), 1, r.Copies);
        EXPECT_TRUE(SameBytes(Stream(RESET + STANDARD_FORMAT + ZERO_POSITION + r.PageEnd), actual.data(),
                              actual.size()));
        Disable();
    }
}

TEST_F(CommandStream, LabelFormatFollowsRotationAndExpansion) {
    const struct {
        LONG Rotation;
        LONG DriverExpand;
        std::string Start;
    } rows[] = {
#if defined(KT_PROFILE_A)
        {0, 0, RESET + STX + "F00" + "160" + "080" + "030" + "80" + ETX},
        {2, 0, RESET + STX + "F00" + "160" + "080" + "030" + "80" + ETX},
        {1, 0, RESET + STX + "F00" + "080" + "160" + "030" + "80" + ETX},
        {3, 0, RESET + STX + "F00" + "080" + "160" + "030" + "80" + ETX},
        {1, 1, STX + "f00" + "080" + "160" + "030" + "80" + ETX},
#else
        {0, 0, RESET + STX + "F00" + "100" + "080" + "030" + "80" + ETX},
        {2, 0, RESET + STX + "F00" + "100" + "080" + "030" + "80" + ETX},
        {1, 0, RESET + STX + "F00" + "080" + "100" + "030" + "80" + ETX},
        {3, 0, RESET + STX + "F00" + "080" + "100" + "030" + "80" + ETX},
        {1, 1, STX + "f00" + "080" + "100" + "030" + "80" + ETX},
#endif
        // A turn the printer does not know leaves the size out altogether.
        {4, 0, RESET + STX + "F00" + "030" + "80" + ETX},
        {-1, 0, RESET + STX + "F00" + "030" + "80" + ETX},
        {INT_MAX, 1, STX + "f00" + "030" + "80" + ETX},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "rotation " << r.Rotation << ", driver expansion " << r.DriverExpand);
        auto rec = JobSettings();
        Label(rec.get()).Values.Rotation = r.Rotation;
        Label(rec.get()).Values.DriverExpand = r.DriverExpand;
        Bytes actual = Header(rec.get());
        EXPECT_TRUE(SameBytes(Stream(r.Start + ZERO_POSITION), actual.data(), actual.size()));
        Disable();
    }
}

TEST_F(CommandStream, FieldFormats) {
    auto rec = JobSettings();
    LABELINFO& label = Label(rec.get());
    label.Values.PositionAdjust = -15; // -1.5 mm
    label.Values.CutPosition = 20;     // 2.0 mm
    label.Values.CutCount = 3;
    label.Values.CutAdjust = 12;
    label.Values.Gap = 1234; // wider than its field: written in full
    // The user-defined size, held in 0.1 mm: 100.9 mm x 50.5 mm is written in whole millimetres.
    rec->Private.Labels[1].Values.PositionAdjust = -15;
    rec->Private.Labels[1].Values.CutPosition = 20;
    rec->Private.Labels[1].Values.CutCount = 3;
    rec->Private.Labels[1].Values.CutAdjust = 12;
    rec->Private.Labels[1].Values.Gap = 1234;
    const std::string position = STX + "W" + "-015" + "+020" + "03" + "12" + ETX;
#if defined(KT_PROFILE_A)
    const std::string standard = RESET + STX + "F00" + "160" + "080" + "1234" + "80" + ETX + position;
#else
    const std::string standard = RESET + STX + "F00" + "100" + "080" + "1234" + "80" + ETX + position;
#endif
    Bytes actual = Header(rec.get());
    EXPECT_TRUE(SameBytes(Stream(standard), actual.data(), actual.size()));
    Disable();

    rec->Private.PaperId = kUserDefinedLabelId;
    rec->Private.CustomWidth = 1009;
    rec->Private.CustomLength = 505;
    SyncPublicDevMode(rec.get());
    actual = Header(rec.get());
    EXPECT_TRUE(SameBytes(Stream(RESET + STX + "F00" + "100" + "050" + "1234" + "80" + ETX + position),
                          actual.data(), actual.size()));
}

TEST_F(CommandStream, PrintSettingsOnlyWhenEnabled) {
    auto rec = JobSettings();
    LABELINFO& label = Label(rec.get());
    label.Values.PrintSpeed = 4;
    label.Values.Density1 = 29;
    label.Values.HeadVoltage1 = 8;
#if defined(KT_PROFILE_A)
    label.Values.Density2 = 0;
    label.Values.HeadVoltage2 = 1;
    // Head 1's pair before head 2's.
    const std::string settings = STX + "A" + "04" + "29" + "08" + "00" + "01" + ETX;
#else
    const std::string settings = STX + "A" + "04" + "29" + "08" + ETX;
#endif
    Bytes actual = Header(rec.get());
    EXPECT_TRUE(SameBytes(Stream(RESET + STANDARD_FORMAT + ZERO_POSITION), actual.data(), actual.size()));
    Disable();

    label.Values.PrintSettingsEnabled = 1;
    actual = Header(rec.get());
    EXPECT_TRUE(
        SameBytes(Stream(RESET + STANDARD_FORMAT + ZERO_POSITION + settings), actual.data(), actual.size()));
}

TEST_F(CommandStream, FirstPageFlagAndComparisonBuffers) {
    auto rec = JobSettings();
    PDEV* pdev = Device(rec.get());
    ASSERT_NE(pdev, nullptr);
    AtPage(pdev, 1, 1);
    WriteJobHeader(pdev);
    EXPECT_EQ(GetFirstPageFlag(pdev->Settings), 1u);
    for (int head = 0; head < kHeadCount; ++head) {
        BYTE* buffer = GetCompareBuffer(pdev->Settings, head);
        ASSERT_NE(buffer, nullptr) << head;
        EXPECT_EQ(buffer[0] | buffer[kCompareBufferBytes - 1], 0) << "zero-filled";
    }
    pdev->Out.Flush();
    const size_t headerBytes = winsim_job_bytes(kPrinterName, 0, nullptr, 0);

    // Page 2 of the document: nothing more of the job start, and the flag goes down.
    SetFirstPageFlag(pdev->Settings, 1);
    AtPage(pdev, 2, 2);
    WriteJobHeader(pdev);
    pdev->Out.Flush();
    EXPECT_EQ(GetFirstPageFlag(pdev->Settings), 0u);
    EXPECT_EQ(static_cast<size_t>(winsim_job_bytes(kPrinterName, 0, nullptr, 0)), headerBytes);

    WriteDocumentEnd(pdev);
    pdev->Out.Flush();
    for (int head = 0; head < kHeadCount; ++head) {
        EXPECT_EQ(GetCompareBuffer(pdev->Settings, head), nullptr) << head;
    }
    EXPECT_EQ(static_cast<size_t>(winsim_job_bytes(kPrinterName, 0, nullptr, 0)), headerBytes)
        << "no final cut unless the label asks for it";
}

TEST_F(CommandStream, ComparisonBuffersFallBackToNone) {
    auto rec = JobSettings();
    PDEV* pdev = Device(rec.get());
    ASSERT_NE(pdev, nullptr);
    AtPage(pdev, 1, 1);
    // The last head's buffer cannot be had: no head keeps one, and the job start is written all the same.
    ASSERT_EQ(winsim_fail_calls("GlobalAlloc", kHeadCount - 1, 1), 1);
    WriteJobHeader(pdev);
    winsim_clear_faults();
    for (int head = 0; head < kHeadCount; ++head) {
        EXPECT_EQ(GetCompareBuffer(pdev->Settings, head), nullptr) << head;
    }
    EXPECT_EQ(GetFirstPageFlag(pdev->Settings), 1u);
    pdev->Out.Flush();
    EndJob();
    Bytes actual = JobBytes();
    EXPECT_TRUE(SameBytes(Stream(RESET + STANDARD_FORMAT + ZERO_POSITION), actual.data(), actual.size()));
}

TEST_F(CommandStream, SuppressedDocumentWritesNothing) {
    auto rec = JobSettings();
    Label(rec.get()).Values.CutLast = 1;
    Label(rec.get()).Values.PrintSettingsEnabled = 1;
    PDEV* pdev = Device(rec.get());
    ASSERT_NE(pdev, nullptr);
    pdev->Suppress = 1;
    AtPage(pdev, 1, 1);
    WriteJobHeader(pdev);
    WritePageEnd(pdev);
    WriteDocumentEnd(pdev);
    pdev->Out.Flush();
    EXPECT_EQ(winsim_job_bytes(kPrinterName, 0, nullptr, 0), 0);
    EXPECT_EQ(GetCompareBuffer(pdev->Settings, 0), nullptr);
}

TEST_F(CommandStream, DeviceResetCarriesTheDocument) {
    auto rec = JobSettings();
    rec->Private.Copies = 2;
    SyncPublicDevMode(rec.get());
    Label(rec.get()).Values.QuantityCommand = 1;
    Label(rec.get()).Values.CutLast = 1;
    PDEV* old = Device(rec.get());
    ASSERT_NE(old, nullptr);
    AtPage(old, 1, 1);
    WriteJobHeader(old);
    old->OutputState |= OUTSTATE_HEADER_SENT | OUTSTATE_PAGE_OPEN;
    BYTE* buffer = GetCompareBuffer(old->Settings, 0);
    ASSERT_NE(buffer, nullptr);
    buffer[7] = 0x5A; // page 1's image, as the image sender leaves it

    // The engine makes a second device for the same document and hands it over.
    PDEV* now = NewDevice(rec.get());
    ASSERT_NE(now, nullptr);
    ASSERT_NE(DrvEnableSurface(reinterpret_cast<DHPDEV>(now)), nullptr);
    ASSERT_TRUE(DrvResetPDEV(reinterpret_cast<DHPDEV>(old), reinterpret_cast<DHPDEV>(now)));
    EXPECT_EQ(GetCompareBuffer(old->Settings, 0), nullptr);
    EXPECT_EQ(GetCompareBuffer(now->Settings, 0), buffer);
    EXPECT_EQ(buffer[7], 0x5A);
    EXPECT_EQ(now->DocumentPages, 1);
    EXPECT_EQ(old->OutputState & OUTSTATE_HEADER_SENT, 0u) << "the old device writes no document end";
    Disable(); // the old device goes without taking the buffers along

    pdev_ = now;
    now->PagesSinceEnable = 1;
    now->DocumentPages = 2;
    WriteJobHeader(now);
    WritePageEnd(now);
    WriteDocumentEnd(now);
    now->Out.Flush();
    EndJob();
    const std::string printCount2 = STX + "S0002" + ETX;
    Bytes actual = JobBytes();
    EXPECT_TRUE(
        SameBytes(Stream(RESET + STANDARD_FORMAT + ZERO_POSITION + printCount2 + printCount2 + FINAL_CUT),
                  actual.data(), actual.size()));
}

TEST_F(CommandStream, ImageCommandFraming) {
    auto rec = JobSettings();
    PDEV* pdev = Device(rec.get());
    ASSERT_NE(pdev, nullptr);
    OutputBuffer& out = pdev->Out;
    const BYTE row[] = {0x02, 0xFF, 0x03, 0x00}; // image bytes are not escaped
    const BYTE coded[] = {0x02, 0x00, 0x10, 0x20};
    WriteHeadSelect(out, 1);
    WriteBlockHeader(out, false, 1, 300, 0, 60, 1920);
    WriteRawRow(out, false, 1, row, sizeof(row));
    WriteCompressedRow(out, false, 0x1F, ROWCODE_RUNS_FROM_WHITE, coded, sizeof(coded));
    WriteBlockHeader(out, true, 0x2A, 0, 12345, 60, 320);
    WriteRawRow(out, true, 0x2A, row, sizeof(row));
    WriteCompressedRow(out, true, 0x100, ROWCODE_BYTE_RUNS, coded, sizeof(coded));
    out.Flush();
    EndJob();
    const std::string rowText("\x02\xFF\x03\x00", 4);
    const std::string codedText("\x02\x00\x10\x20", 4);
    const Bytes expected = Stream(STX + "h1" + ETX +                                                 //
                                  STX + "M" + "01" + "0300" + "0000" + "0060" + "1920" + "0" + ETX + //
                                  STX + "I" + "01" + rowText + ETX +                                 //
                                  STX + "i" + "1F" + "2" + codedText + ETX +                         //
                                  STX + "#" + "2A" + "0000" + "12345" + "0060" + "0320" + "0" + ETX + STX +
                                  "$" + "2A" + rowText + ETX + //
                                  STX + "%" + "100" + "1" + codedText + ETX);
    Bytes actual = JobBytes();
    EXPECT_TRUE(SameBytes(expected, actual.data(), actual.size()));
}

} // namespace
