// DrvQueryJobAttributes: what the print processor is told to do for a job, at every ATTRIBUTE_INFO level,
// each record allocated at exactly its level's size so that a read or write past it is an AddressSanitizer
// report.
#include "config_fixture.h"

#include "job_attributes.h"

#include <winsim_host.h>

namespace {

constexpr DWORD kMarker = 0xA5A5A5A5;

struct ProcCaps {
    DWORD Level = 1;
    DWORD NupBits = 0x0B; // 1, 2 and 4 pages per sheet
    DWORD PageOrder = 0;  // bit 0 reverse, bit 1 booklet
    DWORD MaxCopies = 100;
};

// The job's own settings, and where the printer's device extension hands the work.
struct Job {
    LONG NupHandling = 0; // indexes: 0 = the selector's first value
    LONG PageOrderHandling = 0;
    LONG CopyHandling = 0;
    LONG PagesPerSheet = 0;
    LONG NupBorder = 0;
    LONG ReverseOrder = 0;
    LONG Booklet = 0;
    LONG Copies = 1;
    LONG Collate = 0;
    short InputNup = -1; // dmNup of the input, -1: as the driver wrote it
};

class JobAttributes : public ConfigTest {
  protected:
    void SetCaps(const ProcCaps& caps) {
        const DWORD v[4] = {caps.Level, caps.NupBits, caps.PageOrder, caps.MaxCopies};
        StoreValue("PrintProcCaps_NT EMF 1.006", v, sizeof(v));
    }
    // Stores the handling selectors for the printer and makes the job's input record.
    std::vector<BYTE> Prepare(const Job& job) {
        DRVDEVMODE rec = Settled();
        rec.Extension.NupHandling = job.NupHandling;
        rec.Extension.PageOrderHandling = job.PageOrderHandling;
        rec.Extension.CopyHandling = job.CopyHandling;
        SyncPublicDevMode(&rec);
        StoreDevMode(&rec, kExchangedSize);
        StoreExtension(rec.Extension);
        std::vector<BYTE> in = Exchanged();
        PRIVDEVMODE& p = AsRecord(in)->Private;
        p.PagesPerSheet = job.PagesPerSheet;
        p.NupBorder = job.NupBorder;
        p.ReverseOrder = job.ReverseOrder;
        p.Booklet = job.Booklet;
        p.Copies = job.Copies;
        p.Collate = job.Collate;
        DEVMODEW* dm = AsDevMode(in);
        dm->dmCopies = static_cast<short>(job.Copies);
        dm->dmCollate = 0x5A;
        if (job.InputNup >= 0) {
            dm->dmNup = static_cast<DWORD>(job.InputNup);
        }
        return in;
    }
    // The caller's record of a level, exactly its size, every DWORD a marker.
    static std::unique_ptr<BYTE[]> Info(DWORD level) {
        const size_t size = AttributeInfoSize(level);
        auto info = std::make_unique<BYTE[]>(size);
        for (size_t i = 0; i + 4 <= size; i += 4) {
            std::memcpy(info.get() + i, &kMarker, 4);
        }
        return info;
    }
    template <class T> static T As(const std::unique_ptr<BYTE[]>& info) {
        T v;
        std::memcpy(&v, info.get(), sizeof(v));
        return v;
    }
};

TEST_F(JobAttributes, DefaultsHandNothingToThePrintProcessor) {
    SetCaps({});
    std::vector<BYTE> in = Prepare({});
    for (DWORD level = 1; level <= 4; ++level) {
        auto info = Info(level);
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(DrvQueryJobAttributes(printer_, AsDevMode(in), level, info.get())) << "level " << level;
        const ATTRIBUTE_INFO_1 a = As<ATTRIBUTE_INFO_1>(info);
        EXPECT_EQ(a.dwJobNumberOfPagesPerSide, kMarker);
        EXPECT_EQ(a.dwDrvNumberOfPagesPerSide, kMarker);
        EXPECT_EQ(a.dwJobNumberOfCopies, kMarker);
        EXPECT_EQ(a.dwDrvNumberOfCopies, kMarker);
        EXPECT_EQ(AsDevMode(in)->dmCollate, 0x5A) << "the input is left alone";
    }
}

TEST_F(JobAttributes, EachSelectorAgainstThePrintProcessor) {
    const struct {
        const char* What;
        Job J;
        ProcCaps Caps;
        DWORD Expect[7]; // pages per side job/driver, border, page order job/driver, copies job/driver
        short Collate;
    } cases[] = {
        {"n-up taken, with border",
         {.NupHandling = 1, .PagesPerSheet = 4, .NupBorder = 1},
         {},
         {4, 1, 0, 0, 0, 1, 1},
         0},
        {"n-up taken, no border", {.NupHandling = 1, .PagesPerSheet = 2}, {}, {2, 1, 1, 0, 0, 1, 1}, 0},
        {"n-up not offered",
         {.NupHandling = 1, .PagesPerSheet = 3, .NupBorder = 1},
         {},
         {1, 1, 1, 0, 0, 1, 1},
         0},
        {"n-up with one page per sheet asked",
         {.NupHandling = 1, .PagesPerSheet = 4, .NupBorder = 1, .InputNup = 2},
         {},
         {1, 1, 1, 0, 0, 1, 1},
         0},
        {"n-up, no pages per sheet", {.NupHandling = 1}, {}, {1, 1, 1, 0, 0, 1, 1}, 0},
        {"reverse, processor can",
         {.PageOrderHandling = 1, .ReverseOrder = 1},
         {.PageOrder = 1},
         {1, 1, 1, 1, 0, 1, 1},
         0},
        {"reverse, processor cannot",
         {.PageOrderHandling = 1, .ReverseOrder = 1},
         {.PageOrder = 2},
         {1, 1, 1, 0, 0, 1, 1},
         0},
        {"normal order", {.PageOrderHandling = 1}, {.PageOrder = 1}, {1, 1, 1, 0, 0, 1, 1}, 0},
        {"booklet without duplex",
         {.PageOrderHandling = 1, .Booklet = 1},
         {.PageOrder = 3},
         {1, 1, 1, 0, 0, 1, 1},
         0},
        {"one copy", {.CopyHandling = 1, .Copies = 1, .Collate = 1}, {}, {1, 1, 1, 0, 0, 1, 1}, 1},
        {"copies up to the processor's maximum",
         {.CopyHandling = 1, .Copies = 5},
         {.MaxCopies = 5},
         {1, 1, 1, 0, 0, 5, 5},
         0},
        {"collated copies", {.CopyHandling = 1, .Copies = 5, .Collate = 1}, {}, {1, 1, 1, 0, 0, 5, 1}, 1},
        {"uncollated copies", {.CopyHandling = 1, .Copies = 5}, {}, {1, 1, 1, 0, 0, 5, 9999}, 0},
        {"copies by the printer",
         {.NupHandling = 1, .Copies = 6, .Collate = 1},
         {},
         {1, 1, 1, 0, 0, 6, 6},
         1},
    };
    for (const auto& c : cases) {
        SetCaps(c.Caps);
        std::vector<BYTE> in = Prepare(c.J);
        auto info = Info(1);
        EXPECT_TRUE(DrvQueryJobAttributes(printer_, AsDevMode(in), 1, info.get())) << c.What;
        const ATTRIBUTE_INFO_1 a = As<ATTRIBUTE_INFO_1>(info);
        const DWORD got[7] = {a.dwJobNumberOfPagesPerSide, a.dwDrvNumberOfPagesPerSide, a.dwNupBorderFlags,
                              a.dwJobPageOrderFlags,       a.dwDrvPageOrderFlags,       a.dwJobNumberOfCopies,
                              a.dwDrvNumberOfCopies};
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(got[i], c.Expect[i]) << c.What << ", field " << i;
        }
        EXPECT_EQ(AsDevMode(in)->dmCollate, c.Collate) << c.What << ": the input's dmCollate";
    }
}

TEST_F(JobAttributes, EveryLevelWritesOnlyItsOwnFields) {
    SetCaps({});
    for (const bool vista : {true, false}) {
        if (!vista) {
            winsim_set_windows_version(5, 1, 3, 2600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
        }
        for (DWORD level = 1; level <= 4; ++level) {
            std::vector<BYTE> in = Prepare({.CopyHandling = 1, .Copies = 3, .Collate = 1});
            AsDevMode(in)->dmPrintQuality = 123;
            AsDevMode(in)->dmYResolution = 456;
            auto info = Info(level);
            EXPECT_TRUE(DrvQueryJobAttributes(printer_, AsDevMode(in), level, info.get()))
                << "level " << level;
            const ATTRIBUTE_INFO_1 a1 = As<ATTRIBUTE_INFO_1>(info);
            EXPECT_EQ(a1.dwJobNumberOfCopies, 3u);
            EXPECT_EQ(a1.dwDrvNumberOfCopies, 1u);
            if (level >= 2) {
                EXPECT_EQ(As<ATTRIBUTE_INFO_2>(info).dwColorOptimization, 0u) << "level " << level;
            }
            if (level >= 3) {
                const ATTRIBUTE_INFO_3 a3 = As<ATTRIBUTE_INFO_3>(info);
                EXPECT_EQ(a3.dmPrintQuality, 123);
                EXPECT_EQ(a3.dmYResolution, 456);
            }
            if (level == 4) {
                const ATTRIBUTE_INFO_4 a4 = As<ATTRIBUTE_INFO_4>(info);
                if (vista) {
                    EXPECT_EQ(a4.dwNupDirection, 1u);
                    EXPECT_EQ(a4.dwBookletFlags, 0u);
                    EXPECT_EQ(a4.dwDuplexFlags, 2u);
                    EXPECT_EQ(a4.dwScalingPercentX, 100u);
                    EXPECT_EQ(a4.dwScalingPercentY, 100u);
                } else {
                    // Values computed only on later systems: the caller's own stay.
                    EXPECT_EQ(a4.dwNupDirection, kMarker);
                    EXPECT_EQ(a4.dwBookletFlags, kMarker);
                    EXPECT_EQ(a4.dwDuplexFlags, kMarker);
                    EXPECT_EQ(a4.dwScalingPercentX, kMarker);
                    EXPECT_EQ(a4.dwScalingPercentY, kMarker);
                }
            }
        }
    }
}

TEST_F(JobAttributes, RefusedLevelsAndMissingCapabilities) {
    std::vector<BYTE> in = Prepare({.CopyHandling = 1, .Copies = 3});
    for (DWORD level : {0u, 5u, 100u}) {
        BYTE info[64];
        std::memset(info, 0xEE, sizeof(info));
        SetLastError(0);
        EXPECT_FALSE(DrvQueryJobAttributes(printer_, AsDevMode(in), level, info)) << "level " << level;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(info[0], 0xEE);
    }
    EXPECT_FALSE(DrvQueryJobAttributes(printer_, AsDevMode(in), 1, nullptr));

    // No capabilities value, or one of another level: nothing is computed, the caller's values stay.
    for (const bool present : {false, true}) {
        if (present) {
            SetCaps({.Level = 2});
        }
        auto info = Info(1);
        EXPECT_FALSE(DrvQueryJobAttributes(printer_, AsDevMode(in), 1, info.get()));
        EXPECT_EQ(As<ATTRIBUTE_INFO_1>(info).dwJobNumberOfCopies, kMarker);
    }
    // Without an input record the printer's settings decide.
    SetCaps({});
    auto info = Info(3);
    EXPECT_TRUE(DrvQueryJobAttributes(printer_, nullptr, 3, info.get()));
    EXPECT_EQ(As<ATTRIBUTE_INFO_3>(info).dmPrintQuality, kProfileA ? 305 : 203);
}

} // namespace
