// Whole print jobs through the loaded module, driven by the stand-in graphics engine the way Windows'
// engine drives a printer driver, and read back by the virtual printer.
#include "decoded.h"
#include "render_fixture.h"

#include "run_state.h"

#include <functional>
#include <vector>

namespace {

constexpr DWORD kHead1 = 0x000000; // the standard label's head colours: black and red
constexpr DWORD kHead2 = 0x0000FF;

// One dot painted on a page, for head 1 or 2.
struct Dot {
    LONG X, Y;
    int Head;
};
using Page = std::vector<Dot>;

void Paint(const winsim_engine_page& page, const Dot& dot) {
    BYTE* row = static_cast<BYTE*>(page.bits) + static_cast<ptrdiff_t>(dot.Y) * page.stride;
    if (page.bits_per_pixel == 24) {
        const DWORD color = dot.Head == 1 ? kHead1 : kHead2;
        for (int k = 0; k < 3; ++k) {
            row[3 * dot.X + k] = static_cast<BYTE>(color >> (8 * k));
        }
    } else if (page.bits_per_pixel == 1 && dot.Head == 1) {
        row[dot.X / 8] &= static_cast<BYTE>(~(0x80 >> (dot.X % 8))); // black on the 1-bit page, one head
    }
}

class Job : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        driver_ = winsim_engine_load(KT_RENDER_MODULE);
        ASSERT_NE(driver_, nullptr);
    }
    void TearDown() override {
        for (void* device : devices_) {
            winsim_engine_close(device);
        }
        winsim_engine_unload(driver_);
        RenderTest::TearDown();
    }

    // A job's settings on a small label of the user-defined size (whole millimetres), so that pages stay
    // small; the label's other values are the standard label's.
    std::unique_ptr<DRVDEVMODE> Settings(LONG widthMm = 30, LONG lengthMm = 20) {
        auto rec = JobSettings(model_);
        rec->Private.PaperId = kUserDefinedLabelId;
        rec->Private.CustomWidth = widthMm * 10;
        rec->Private.CustomLength = lengthMm * 10;
        SyncPublicDevMode(rec.get());
        return rec;
    }
    static LABELVALUES& Values(DRVDEVMODE* rec) { return rec->Private.Labels[1].Values; }

    void* Open(const DRVDEVMODE* rec) {
        void* device = winsim_engine_open(driver_, kPrinterName, rec ? &rec->Public : nullptr);
        if (device) {
            devices_.push_back(device);
        }
        return device;
    }
    void Close(void* device) {
        winsim_engine_close(device);
        devices_.erase(std::find(devices_.begin(), devices_.end(), device));
    }
    PDEV* Pdev(void* device) { return static_cast<PDEV*>(winsim_engine_device(device)); }

    // One page: DrvStartPage, the dots painted into the page bitmap, the page's end.
    void PrintPage(void* device, const Page& dots) {
        winsim_engine_page page = {};
        ASSERT_EQ(winsim_engine_start_page(device, &page), 1);
        for (const Dot& dot : dots) {
            Paint(page, dot);
        }
        ASSERT_EQ(winsim_engine_end_page(device), 1);
    }
    // A whole document on the device; pages are printed between `between` calls.
    void PrintDocument(void* device, const std::vector<Page>& pages,
                       const std::function<void(int)>& between = nullptr, uint32_t endFlags = 0) {
        ASSERT_EQ(winsim_engine_start_doc(device, "labels"), 1);
        for (size_t i = 0; i < pages.size(); ++i) {
            if (between && i > 0) {
                between(static_cast<int>(i));
            }
            PrintPage(device, pages[i]);
        }
        ASSERT_EQ(winsim_engine_end_doc(device, endFlags), 1);
    }
    ktdecode::Result Decoded() {
        const ktdecode::Result result = DecodeFor(model_, JobBytes());
        EXPECT_TRUE(result.ok) << result.error.Message();
        return result;
    }
    // The label image of a portrait page with these dots of head `head`.
    static std::vector<std::string> Drawn(const ktdecode::Image& like, const Page& dots, int head) {
        ktdecode::Image image = like;
        std::fill(image.dots.begin(), image.dots.end(), 0);
        for (const Dot& d : dots) {
            if (d.Head == head) {
                image.dots[static_cast<size_t>(d.Y) * image.width + d.X] = 1;
            }
        }
        return ktdecode::ImageRows(image);
    }
    // Checks every head's image of a decoded page against the dots drawn on it.
    static void ExpectPage(const ktdecode::Page& page, const Page& dots) {
        for (int h = 0; h < kHeadCount; ++h) {
            EXPECT_EQ(ktdecode::ImageRows(page.heads[h].image), Drawn(page.heads[h].image, dots, h + 1))
                << "page " << page.number << ", head " << h + 1;
        }
    }

    LONG model_ = 0;
    void* driver_ = nullptr;
    std::vector<void*> devices_;
};

#if defined(KT_PROFILE_A)
const std::string kTwoHeads = "h";
#else
const std::string kTwoHeads = "";
#endif

// The command table's example: two pages, three copies by print count, print settings and a final cut.
TEST_F(Job, TwoPagesWithCopiesPrintSettingsAndAFinalCut) {
    auto rec = Settings();
    rec->Private.Copies = 3;
    SyncPublicDevMode(rec.get());
    Values(rec.get()).PrintSettingsEnabled = 1;
    Values(rec.get()).QuantityCommand = 1;
    Values(rec.get()).CutLast = 1;
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    const Page first = {{3, 3, 1}, {10, 5, 2}, {200, 150, 1}};
    Page second = first;
    second.push_back({20, 30, 1}); // head 1 changes, head 2 does not
    PrintDocument(device, {first, second});
    const ktdecode::Result result = Decoded();
#if defined(KT_PROFILE_A)
    EXPECT_EQ(CommandLetters(result), "RFWAhMrhMrS"
                                      "hMrhS"
                                      "X");
#else
    EXPECT_EQ(CommandLetters(result), "RFWAMrS"
                                      "MrS"
                                      "X");
#endif
    ASSERT_EQ(result.pages.size(), 2u);
    for (const ktdecode::Page& page : result.pages) {
        EXPECT_EQ(page.copies, 3);
    }
    ExpectPage(result.pages[0], first);
    ExpectPage(result.pages[1], second);
}

// Label values the label page never stores, as a label file or a record made elsewhere may carry them,
// are written in full like any value wider than its field. The printer may then read a command's digits
// more than one way; it takes that command without its values and still prints the label.
TEST_F(Job, LabelValuesWiderThanTheirFieldsStillPrint) {
    struct Case {
        const char* what;
        std::function<void(LABELVALUES&)> set;
    };
    const Case cases[] = {
        {"cut count and adjust", [](LABELVALUES& v) { v.CutCount = 100, v.CutAdjust = 123; }},
        {"offsets", [](LABELVALUES& v) { v.PositionAdjust = 12345, v.CutPosition = -1000; }},
        {"gap", [](LABELVALUES& v) { v.Gap = 1500; }},
        {"speed", [](LABELVALUES& v) { v.PrintSpeed = 105; }},
        {"density and voltage", [](LABELVALUES& v) { v.Density1 = 123, v.HeadVoltage1 = -1; }},
    };
    const Page page = {{3, 3, 1}, {10, 5, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto rec = Settings();
        Values(rec.get()).PrintSettingsEnabled = 1;
        c.set(Values(rec.get()));
        void* device = Open(rec.get());
        ASSERT_NE(device, nullptr);
        PrintDocument(device, {page});
        Close(device);
        const ktdecode::Result result = Decoded();
        ASSERT_EQ(result.pages.size(), 1u);
        ExpectPage(result.pages[0], page);
    }
}

// SETCOPYCOUNT replaces the copy count; the printer takes at most 9,999, and a count below zero prints
// nothing, so a count an application makes up never turns into gigabytes of print commands.
TEST_F(Job, SetCopyCountHoldsTheCountToWhatThePrinterTakes) {
    const struct {
        const char* Name;
        bool Given;
        LONG Count;
        LONG Printed;
    } rows[] = {
        {"no input", false, 0, 1}, {"5", true, 5, 5},          {"0", true, 0, 0},
        {"-4", true, -4, 0},       {"9999", true, 9999, 9999}, {"2,000,000,000", true, 2000000000, 9999},
    };
    for (bool count : {false, true}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message()
                         << r.Name << (count ? ", print count" : ", one print command each"));
            auto rec = Settings();
            Values(rec.get()).QuantityCommand = count;
            void* device = Open(rec.get());
            ASSERT_NE(device, nullptr);
            EXPECT_EQ(winsim_engine_escape(device, QUERYESCSUPPORT, "\x11\x00", 2, nullptr, 0), 1u);
            LONG reported = -1;
            EXPECT_EQ(winsim_engine_escape(device, SETCOPYCOUNT, r.Given ? &r.Count : nullptr,
                                           r.Given ? sizeof(LONG) : 0, &reported, sizeof(reported)),
                      1u);
            EXPECT_EQ(reported, r.Printed);
            PrintDocument(device, {{{1, 1, 1}}});
            Close(device);
            const ktdecode::Result result = Decoded();
            if (count) {
                ASSERT_EQ(result.pages.size(), 1u);
                EXPECT_EQ(result.pages[0].copies, r.Printed);
            } else {
                // No print command at all leaves the image unprinted: the stream ends with it.
                const std::string letters = CommandLetters(result);
                EXPECT_EQ(std::count(letters.begin(), letters.end(), '1'), r.Printed);
            }
        }
    }
}

TEST_F(Job, EscapesTheDriverDoesNotSupport) {
    auto rec = Settings();
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    const struct {
        WORD Asked;
        ULONG Answer;
    } rows[] = {{QUERYESCSUPPORT, 1}, {SETCOPYCOUNT, 1}, {PASSTHROUGH, 0}, {GETTECHNOLOGY, 0}, {4711, 0}};
    for (const auto& r : rows) {
        EXPECT_EQ(winsim_engine_escape(device, QUERYESCSUPPORT, &r.Asked, sizeof(r.Asked), nullptr, 0),
                  r.Answer)
            << r.Asked;
    }
    EXPECT_EQ(winsim_engine_escape(device, PASSTHROUGH, "\x03\x00\x02\x0D\x03", 5, nullptr, 0), 0u);
    EXPECT_EQ(winsim_engine_escape(device, GETTECHNOLOGY, nullptr, 0, nullptr, 0), 0u);
}

// Every page starts white: nothing of the page before it prints again, on any depth of surface.
TEST_F(Job, EachPageStartsWhite) {
    auto rec = Settings();
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    const std::vector<Page> pages = {{{1, 1, 1}, {40, 7, 2}}, {{2, 3, 1}}, {}};
    PrintDocument(device, pages);
    const ktdecode::Result result = Decoded();
    ASSERT_EQ(result.pages.size(), 3u);
    for (size_t i = 0; i < pages.size(); ++i) {
        ExpectPage(result.pages[i], pages[i]);
    }
}

TEST_F(Job, ASecondDocumentGetsItsOwnJobHeader) {
    auto rec = Settings();
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    for (int document = 0; document < 2; ++document) {
        SCOPED_TRACE(document);
        PrintDocument(device, {{{1, 1, 1}}, {{1, 1, 1}}});
        const ktdecode::Result result = Decoded();
        EXPECT_EQ(CommandLetters(result),
                  "RFW" + kTwoHeads + "Mr" + kTwoHeads + "1" + kTwoHeads + kTwoHeads + "1");
    }
}

// ResetDC between pages: the new device carries the document on, with the comparison buffers, so the
// printer hears one job header, one page end per page and one final cut.
TEST_F(Job, ADeviceResetBetweenPagesCarriesTheDocument) {
    auto rec = Settings(30, 20);
    Values(rec.get()).BandSplit = 1;
    Values(rec.get()).CutLast = 1;
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    const LONG blockRows = GetVariant(model_).Head.BlockRows;
    const Page first = {{1, 1, 1}, {1, blockRows + 1, 1}, {2, 2 * blockRows + 2, 1}};
    Page second = first;
    second.push_back({9, 2 * blockRows + 3, 1}); // only block 3 changes
    PDEV* before = Pdev(device);
    PrintDocument(device, {first, second},
                  [&](int) { ASSERT_EQ(winsim_engine_reset(device, &rec->Public), 1); });
    EXPECT_NE(Pdev(device), before) << "the document went on on a new device";
    const ktdecode::Result result = Decoded();
    const std::string letters = CommandLetters(result);
    EXPECT_EQ(std::count(letters.begin(), letters.end(), 'R'), 1);
    EXPECT_EQ(std::count(letters.begin(), letters.end(), 'F'), 1);
    EXPECT_EQ(std::count(letters.begin(), letters.end(), '1'), 2);
    EXPECT_EQ(std::count(letters.begin(), letters.end(), 'X'), 1);
    ASSERT_EQ(result.pages.size(), 2u);
    EXPECT_EQ(result.pages[0].heads[0].blocksSent, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(result.pages[1].heads[0].blocksSent, std::vector<int>{3});
    ExpectPage(result.pages[1], second);
}

// The grey surface bands once a page passes 16 MiB; it sends no image, but walks every band, writes the
// job header once and ends every page.
TEST_F(Job, GreyPagesWalkTheirBands) {
#if defined(KT_PROFILE_B)
    model_ = 9; // the 600 dpi head: 250 x 250 mm is 5,900 x 5,900 dots
    Install(model_);
#endif
    const LONG side = GetVariant(model_).MaxLength / 10;
    auto rec = Settings(side, side);
    rec->Private.SurfaceToPrint = 1;
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    EXPECT_GE(Pdev(device)->BandCount, 2);
    EXPECT_EQ(Pdev(device)->Banded, 1);
    PrintDocument(device, {{}, {}});
    EXPECT_EQ(CommandLetters(Decoded()), "RFW11");
}

TEST_F(Job, LandscapeTurnsThePageEitherWay) {
    for (LONG choice : {0, 1}) {
        SCOPED_TRACE(choice);
        auto rec = Settings(20, 30);
        rec->Private.Orientation = DMORIENT_LANDSCAPE;
        rec->Private.LandscapeRotation = choice;
        SyncPublicDevMode(rec.get());
        void* device = Open(rec.get());
        ASSERT_NE(device, nullptr);
        PrintDocument(device, {{{0, 0, 1}}});
        Close(device);
        const ktdecode::Result result = Decoded();
        ASSERT_EQ(result.pages.size(), 1u);
        const ktdecode::Image& image = result.pages[0].heads[0].image;
        // The page's first dot: the last row's first dot turned one way, the first row's last the other.
        const int x = choice ? image.width - 1 : 0;
        const int y = choice ? 0 : image.height - 1;
        ASSERT_GT(image.width, 0);
        EXPECT_TRUE(image.At(x, y));
        EXPECT_EQ(std::count(image.dots.begin(), image.dots.end(), 1), 1);
    }
}

// What the print processor is left to do (N-up, page order, booklets, copies) it must be able to do, or
// the document prints nothing at all; a printer the processor never sees prints it.
TEST_F(Job, ADocumentThePrintProcessorCannotCarryOutPrintsNothing) {
    struct Row {
        const char* Name;
        LONG Nup, Order, Copies; // handling indexes: 1 leaves it to the print processor
        LONG PagesPerSheet, Reverse, Booklet, CopyCount;
        bool Caps; // the processor publishes its capabilities
        DWORD NupBits, OrderFlags, MaxCopies;
        bool Prints;
    };
    const Row rows[] = {
        {"N-up offered", 1, 0, 0, 2, 0, 0, 1, true, 0x2, 0, 1, true},
        {"N-up not offered", 1, 0, 0, 2, 0, 0, 1, true, 0x8, 0, 1, false},
        {"reverse order offered", 0, 1, 0, 0, 1, 0, 1, true, 0, 1, 1, true},
        {"reverse order not offered", 0, 1, 0, 0, 1, 0, 1, true, 0, 0, 1, false},
        {"a booklet on a simplex record", 0, 1, 0, 0, 0, 1, 1, true, 0, 3, 1, false},
        {"copies within the maximum", 0, 0, 1, 0, 0, 0, 5, true, 0, 0, 5, true},
        {"copies past the maximum", 0, 0, 1, 0, 0, 0, 5, true, 0, 0, 4, false},
        {"capabilities unreadable", 1, 0, 0, 2, 0, 0, 1, false, 0, 0, 0, false},
        {"nothing left to the processor", 0, 0, 0, 2, 1, 1, 5, false, 0, 0, 0, true},
    };
    const struct {
        const char* Name;
        DWORD Attributes;
        const char* Port;
    } printers[] = {{"spooled", PRINTER_ATTRIBUTE_LOCAL, "USB001"},
                    {"direct", PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT, "USB001"},
                    {"to a file", PRINTER_ATTRIBUTE_LOCAL, "FILE:"}};
    for (const auto& p : printers) {
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << r.Name << ", " << p.Name);
            SimPrinterTest::Close();
            ASSERT_EQ(winsim_remove_printer(kPrinterName), 1);
            ASSERT_EQ(winsim_add_printer(kPrinterName, DriverNameFor(model_).c_str(), p.Port, "winprint",
                                         p.Attributes),
                      1);
            ASSERT_TRUE(OpenDriverPrinter(kPrinterNameW, 1, &printer_));
            auto rec = Settings();
            rec->Private.PagesPerSheet = r.PagesPerSheet;
            rec->Private.ReverseOrder = r.Reverse;
            rec->Private.Booklet = r.Booklet;
            rec->Private.Copies = r.CopyCount;
            rec->Extension.NupHandling = r.Nup;
            rec->Extension.PageOrderHandling = r.Order;
            rec->Extension.CopyHandling = r.Copies;
            SyncPublicDevMode(rec.get());
            // The handling choices are the printer's: its stored record and device extension.
            StoreDevMode(rec.get(), kExchangedSize);
            StoreValue("Private DevMode", &rec->Extension, sizeof(rec->Extension));
            if (r.Caps) {
                const DWORD caps[4] = {1, r.NupBits, r.OrderFlags, r.MaxCopies};
                StoreValue("PrintProcCaps_NT EMF 1.006", caps, sizeof(caps));
            }
            void* device = Open(rec.get());
            ASSERT_NE(device, nullptr);
            PrintDocument(device, {{{1, 1, 1}}});
            Close(device);
            const bool prints = r.Prints || std::string(p.Name) != "spooled";
            EXPECT_EQ(JobBytes().empty(), !prints);
        }
    }
}

// A page whose plane would pass the 4,000,000-byte limit sends no image: the device says so in its output
// state, and the page still ends, so the printer's count of labels stays right.
TEST_F(Job, APageTooLargeToSendSkipsItsImageAndSaysSo) {
    auto rec = Settings();
    const LONG d = GetVariant(model_).Head.DotsPer100mm;
    const LONG widthMm = GetVariant(model_).MaxWidth / 10;
    // Rows of the plane at that width, one more than the limit holds.
    const long long rowBytes = (static_cast<long long>(widthMm) * 10 * d / 1000 + 7) / 8;
    const long long rows = 4000000 / rowBytes + 1;
    rec->Private.CustomWidth = widthMm * 10;
    rec->Private.CustomLength = static_cast<LONG>((rows * 1000 + d - 1) / d + 10);
    SyncPublicDevMode(rec.get());
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(winsim_engine_start_doc(device, "too long"), 1);
    PrintPage(device, {{1, 1, 1}});
    EXPECT_TRUE(Pdev(device)->OutputState & OUTSTATE_IMAGE_SKIPPED);
    ASSERT_EQ(winsim_engine_end_doc(device, 0), 1);
    // A label this long has a four-digit length, so its label format reads two ways: the bytes are looked at
    // as they are. The job header and the page end are there, no head select and no block.
    const Bytes bytes = JobBytes();
    const std::string stream(bytes.begin(), bytes.end());
    EXPECT_EQ(stream.rfind("\x02\x0D\x03"), stream.size() - 3);
    EXPECT_EQ(stream.find("\x02h"), std::string::npos);
    EXPECT_EQ(stream.find("\x02M"), std::string::npos);
}

TEST_F(Job, AFailedWriteDropsTheRestAndTheNextDocumentPrints) {
    auto rec = Settings();
    Values(rec.get()).CutLast = 1;
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(winsim_fail_next("WritePrinter", 1), 1);
    PrintDocument(device, {{{1, 1, 1}}, {{2, 2, 1}}});
    EXPECT_TRUE(JobBytes().empty()) << "nothing after the failed write, not even the final cut";
    PrintDocument(device, {{{1, 1, 1}}});
    EXPECT_EQ(CommandLetters(Decoded()), "RFW" + kTwoHeads + "Mr" + kTwoHeads + "1X");
}

TEST_F(Job, AnAbortedDocumentStillEnds) {
    auto rec = Settings();
    Values(rec.get()).CutLast = 1;
    void* device = Open(rec.get());
    ASSERT_NE(device, nullptr);
    PrintDocument(device, {{{1, 1, 1}}}, nullptr, ED_ABORTDOC);
    const std::string letters = CommandLetters(Decoded());
    EXPECT_EQ(letters.back(), 'X');
}

// Windows 2000 hands the driver no document name of its own: it is taken from the spooler's job.
TEST_F(Job, TheJobNameComesFromTheSpoolerOnWindows2000) {
    for (bool windows2000 : {false, true}) {
        SCOPED_TRACE(windows2000);
        if (windows2000) {
            winsim_set_windows_version(5, 0, 4, 2195, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
        }
        auto rec = Settings();
        void* device = Open(rec.get());
        ASSERT_NE(device, nullptr);
        winsim_log_clear();
        ASSERT_EQ(winsim_engine_start_doc(device, "Invoice 7"), 1);
        EXPECT_EQ(LastLogLine("GetJobW").empty(), !windows2000);
        EXPECT_TRUE(WStrEqual(Pdev(device)->DocName, TEXT("Invoice 7")));
        ASSERT_EQ(winsim_engine_end_doc(device, 0), 1);
        Close(device);
    }
}

// Every allocation of a whole job, and every call of the spooler services it makes, failed once in
// turn: nothing crashes or leaks, and the next job on a fresh device prints as if nothing had happened.
TEST_F(Job, EveryFailureOfAWholeJob) {
    winsim_set_windows_version(5, 0, 4, 2195, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT); // GetJobW too
    auto rec = Settings();
    Values(rec.get()).BandSplit = 1;
    const std::vector<Page> pages = {{{1, 1, 1}, {5, 30, 2}}, {{1, 1, 1}, {6, 31, 2}}};
    auto job = [&]() -> bool {
        void* device = Open(rec.get());
        if (!device) {
            return false;
        }
        PrintDocument(device, pages);
        Close(device);
        return true;
    };
    ASSERT_TRUE(job());
    const Bytes reference = JobBytes();
    for (const char* service : {"GlobalAlloc", "WritePrinter", "GetJobW", "GetPrinterW", "GetPrinterDataW",
                                "EngCreateBitmap", "EngCreatePalette"}) {
        const uint32_t before = winsim_call_count(service);
        ASSERT_TRUE(job());
        const uint32_t calls = winsim_call_count(service) - before;
        for (uint32_t k = 0; k < calls; ++k) {
            SCOPED_TRACE(testing::Message() << service << " call " << k + 1 << " of " << calls << " fails");
            ASSERT_EQ(winsim_fail_calls(service, k, 1), 1);
            SetLastError(0);
            const bool opened = job();
            winsim_clear_faults();
            if (!opened) {
                EXPECT_NE(GetLastError(), 0u) << "a device that could not be made says why";
            }
            EXPECT_EQ(winsim_engine_objects(), engineObjects_);
            ASSERT_TRUE(job());
            EXPECT_TRUE(JobBytes() == reference) << "the next job prints as before";
        }
    }
}

} // namespace
