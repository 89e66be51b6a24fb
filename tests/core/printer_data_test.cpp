// What the core asks of the spooler and of Windows itself.
#include "sim_printer.h"

#include "codepage.h"
#include "model_lookup.h"
#include "os_version.h"

#include <cstring>

namespace {

class PrinterData : public SimPrinterTest {};

TEST_F(PrinterData, QueryPrinterInfoKinds) {
    ASSERT_EQ(winsim_set_printer_driver(kPrinterName, "C:\\drv\\ktrender.dll", "C:\\drv\\kt.gpd",
                                        "C:\\drv\\ktcfg.dll", "C:\\drv\\LBLHELP.CHM"),
              1);
    winsim_set_driver_directory("C:\\Windows\\System32\\spool\\drivers\\x64");
    const struct {
        int Kind;
        const WCHAR* Expected;
    } rows[] = {
        {PI_DRIVER_NAME, TEXT("KT-508W Label Driver")},
        {PI_PRINT_PROCESSOR, TEXT("winprint")},
        {PI_PORT_NAME, TEXT("USB001")},
        {PI_PRINTER_NAME, kPrinterNameW},
        {PI_DRIVER_DIR, TEXT("C:\\Windows\\System32\\spool\\drivers\\x64")},
        {PI_DRIVER_DIR_VERSION3, TEXT("C:\\Windows\\System32\\spool\\drivers\\x64\\3")},
        {3, TEXT("C:\\Windows\\System32\\spool\\drivers\\x64\\3")},
        {100, TEXT("C:\\Windows\\System32\\spool\\drivers\\x64\\3")},
        {PI_HELP_FILE, TEXT("C:\\drv\\LBLHELP.CHM")},
        {PI_DATA_FILE, TEXT("C:\\drv\\kt.gpd")},
    };
    for (const auto& r : rows) {
        WCHAR buffer[MAX_PATH];
        std::memset(buffer, 0x77, sizeof(buffer));
        ASSERT_TRUE(QueryPrinterInfo(printer_, r.Kind, buffer, sizeof(buffer))) << r.Kind;
        if (r.Kind != PI_DRIVER_NAME) {
            EXPECT_TRUE(WStrEqual(buffer, r.Expected)) << r.Kind;
        }
        EXPECT_EQ(buffer[MAX_PATH - 1], 0) << "the buffer is zeroed first";
    }
    DWORD attributes = 0;
    for (int kind : {PI_ATTRIBUTES, PI_ATTRIBUTES_4, PI_ATTRIBUTES_5}) {
        EXPECT_TRUE(QueryPrinterInfo(printer_, kind, &attributes, sizeof(attributes)));
        EXPECT_EQ(attributes, static_cast<DWORD>(PRINTER_ATTRIBUTE_LOCAL)) << kind;
        EXPECT_FALSE(QueryPrinterInfo(printer_, kind, &attributes, 3)) << kind;
    }
    EXPECT_FALSE(QueryPrinterInfo(printer_, 5, &attributes, sizeof(attributes)));
}

TEST_F(PrinterData, BufferLimits) {
    winsim_set_driver_directory("C:\\Drivers\\abcdefghi"); // 20 characters
    WCHAR small[5];
    EXPECT_FALSE(QueryPrinterInfo(printer_, PI_DRIVER_DIR_VERSION3, small, 10))
        << "a cut-off directory is refused";
    WCHAR exact[23];
    EXPECT_FALSE(QueryPrinterInfo(printer_, PI_DRIVER_DIR_VERSION3, exact, sizeof(exact) - 2));
    EXPECT_TRUE(QueryPrinterInfo(printer_, PI_DRIVER_DIR_VERSION3, exact, sizeof(exact)));
    EXPECT_TRUE(WStrEqual(exact, TEXT("C:\\Drivers\\abcdefghi\\3")));

    WCHAR name[6];
    ASSERT_TRUE(QueryPrinterInfo(printer_, PI_PRINTER_NAME, name, sizeof(name)));
    EXPECT_TRUE(WStrEqual(name, TEXT("Label"))) << "names are cut to the buffer and terminated";
    EXPECT_FALSE(QueryPrinterInfo(printer_, PI_PRINTER_NAME, name, 0));

    winsim_fail_next("GetPrinterW", 1);
    std::memset(name, 0x55, sizeof(name));
    EXPECT_FALSE(QueryPrinterInfo(printer_, PI_PRINTER_NAME, name, sizeof(name)));
    EXPECT_EQ(name[0], 0) << "a failed query leaves the zeroed buffer";
}

TEST_F(PrinterData, StoredRecordIsCutToTheBufferAndToWhatIsStored) {
    std::vector<uint8_t> stored(300, 0x11);
    DEVMODEW head = {};
    head.dmSize = 220;
    head.dmDriverExtra = 60000; // claims more than the spooler holds
    std::memcpy(stored.data(), &head, sizeof(head));
    StoreDevMode(stored.data(), stored.size());
    std::vector<uint8_t> out(1000, 0x99);
    ASSERT_TRUE(QueryPrinterInfo(printer_, PI_DEVMODE, out.data(), static_cast<DWORD>(out.size())));
    EXPECT_EQ(out[299], 0x11);
    EXPECT_EQ(out[300], 0x00);
    ASSERT_TRUE(QueryPrinterInfo(printer_, PI_DEVMODE, out.data(), 100));
}

TEST_F(PrinterData, OpenRules) {
    HANDLE h = nullptr;
    EXPECT_FALSE(OpenDriverPrinter(kPrinterNameW, 0, &h));
    EXPECT_FALSE(OpenDriverPrinter(kPrinterNameW, -1, &h));
    EXPECT_FALSE(OpenDriverPrinter(TEXT("No Such Printer"), 1, &h));
    ASSERT_TRUE(OpenDriverPrinter(kPrinterNameW, 2, &h));
    DWORD one = 1;
    EXPECT_FALSE(SetPrinterDataValue(h, kValuePermission, REG_DWORD, &one, sizeof(one)))
        << "mode 2 opens with the default (use) access, which cannot write printer data";
    ClosePrinter(h);
    EXPECT_TRUE(SetPrinterDataValue(printer_, kValuePermission, REG_DWORD, &one, sizeof(one)));
}

TEST_F(PrinterData, KitIdentifierIsWrittenWithoutItsNul) {
    ASSERT_TRUE(WriteKitIdentifier(printer_, kKits[0].Identifier));
    uint8_t value[32];
    uint32_t type = 0;
    ASSERT_EQ(winsim_get_printer_data(kPrinterName, "SPLUserModePrinterDriver", &type, value, sizeof(value)),
              14);
    EXPECT_EQ(type, static_cast<uint32_t>(REG_SZ));
    EXPECT_EQ(value[0], 'H');
    EXPECT_EQ(value[12], 'M');
    EXPECT_TRUE(WStrEqual(GetCoreVersionString(), TEXT("Ver9.00.00")));
}

TEST_F(PrinterData, PrintProcessorCapabilities) {
    PRINTPROCCAPS caps;
    EXPECT_FALSE(ReadPrintProcCaps(printer_, &caps)) << "no value stored";
    const uint32_t value[4] = {1, 0x0000002B, 0x2, 9999}; // 1, 2, 4 and 6 pages per sheet; booklet
    StoreValue("PrintProcCaps_NT EMF 1.006", value, sizeof(value));
    ASSERT_TRUE(ReadPrintProcCaps(printer_, &caps));
    ASSERT_EQ(caps.NupCount, 4u);
    EXPECT_EQ(caps.NupValues[0], 1u);
    EXPECT_EQ(caps.NupValues[1], 2u);
    EXPECT_EQ(caps.NupValues[2], 4u);
    EXPECT_EQ(caps.NupValues[3], 6u);
    EXPECT_TRUE(caps.Booklet);
    EXPECT_EQ(caps.MaxCopies, 9999u);

    const uint32_t level2[4] = {2, 1, 0, 1};
    StoreValue("PrintProcCaps_NT EMF 1.006", level2, sizeof(level2));
    EXPECT_FALSE(ReadPrintProcCaps(printer_, &caps));
    StoreValue("PrintProcCaps_NT EMF 1.006", value, 8);
    EXPECT_FALSE(ReadPrintProcCaps(printer_, &caps)) << "a short value is not read past its end";

    ASSERT_EQ(winsim_add_printer("Raw Printer", DriverNameFor(0).c_str(), "USB002", "winprint",
                                 PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_RAW_ONLY),
              1);
    ASSERT_EQ(winsim_set_printer_data("Raw Printer", "PrintProcCaps_NT EMF 1.006", REG_BINARY, value,
                                      sizeof(value)),
              1);
    HANDLE raw = nullptr;
    ASSERT_TRUE(OpenDriverPrinter(TEXT("Raw Printer"), 1, &raw));
    EXPECT_TRUE(IsRawOnlyPrinter(raw));
    EXPECT_FALSE(IsRawOnlyPrinter(printer_));
    EXPECT_FALSE(ReadPrintProcCaps(raw, &caps));
    ClosePrinter(raw);
}

TEST_F(PrinterData, StoredLabelsSetTheCountFromTheLeadingNames) {
    DRVDEVMODE rec = Settled();
    std::vector<LABELINFO> labels(kMaxLabels + 1); // one more than a list holds, for the oversized value
    for (int i = 0; i < 5; ++i) {
        labels[i] = rec.Private.Labels[0];
    }
    labels[3].Name[0] = 0; // the count stops at the first empty name
    StoreValue("Private Paper", labels.data(), kLabelListBytes);
    ASSERT_TRUE(ReadStoredLabels(&rec, printer_));
    EXPECT_EQ(rec.Private.LabelCount, 3);

    DRVDEVMODE before = rec;
    StoreValue("Private Paper", labels.data(), kLabelListBytes + 4);
    EXPECT_FALSE(ReadStoredLabels(&rec, printer_)) << "an oversized value does not fit";
    EXPECT_EQ(std::memcmp(&before, &rec, sizeof(rec)), 0);

    labels[0].Name[0] = 0;
    StoreValue("Private Paper", labels.data(), kLabelListBytes);
    EXPECT_EQ(Settled().Private.LabelCount, 2)
        << "a settled list never holds fewer than the two fixed entries";

    ASSERT_TRUE(WriteStoredLabels(&rec, printer_));
    uint32_t type = 0;
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "Private Paper", &type, nullptr, 0),
              static_cast<int32_t>(kLabelListBytes));
}

TEST(OsVersion, CodesForEachWindowsVersion) {
    const struct {
        uint32_t Major, Minor, Sp, Build;
        uint8_t Product;
        uint32_t Platform;
        LONG Code;
    } rows[] = {
        {10, 0, 0, 19045, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 211},
        {10, 0, 0, 14393, VER_NT_SERVER, VER_PLATFORM_WIN32_NT, 210}, // Server 2016
        {10, 0, 0, 20348, VER_NT_DOMAIN_CONTROLLER, VER_PLATFORM_WIN32_NT, 210},
        {6, 3, 0, 9600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 209},
        {6, 3, 0, 9600, VER_NT_SERVER, VER_PLATFORM_WIN32_NT, 210},
        {6, 2, 0, 9200, VER_NT_SERVER, VER_PLATFORM_WIN32_NT, 208},
        {6, 1, 1, 7601, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 205},
        {6, 0, 2, 6002, VER_NT_SERVER, VER_PLATFORM_WIN32_NT, 204},
        {5, 2, 2, 3790, VER_NT_SERVER, VER_PLATFORM_WIN32_NT, 202},
        {5, 2, 2, 3790, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 201}, // XP x64 reaches 5.1 first
        {5, 1, 3, 2600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 201},
        {5, 0, 4, 2195, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 103},
        {4, 0, 6, 1381, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 102},
        {4, 10, 0, 2222, 0, VER_PLATFORM_WIN32_WINDOWS, 2},
        {3, 51, 0, 1057, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, 101},
        {2, 0, 0, 1, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT, -1},
    };
    for (const auto& r : rows) {
        winsim_set_windows_version(r.Major, r.Minor, r.Sp, r.Build, r.Product, r.Platform);
        EXPECT_EQ(GetOsVersionCode(), r.Code) << r.Major << "." << r.Minor << " product " << int(r.Product);
    }
    winsim_reset();
    EXPECT_EQ(GetOsVersionCode(), 211) << "the stand-in starts as Windows 10";
}

TEST(CodePage932, ConversionsKeepTheirLimits) {
    char bytes[kCp932BufferBytes];
    EXPECT_EQ(ToCodePage932(TEXT("標準ﾗﾍﾞﾙ(160x80)"), bytes), 2 * 2 + 4 + 8)
        << "half-width kana take one byte";
    WCHAR back[kCp932NameChars];
    EXPECT_EQ(FromCodePage932(bytes, 16, back), 14);
    EXPECT_TRUE(WStrEqual(back, TEXT("標準ﾗﾍﾞﾙ(160x80)")));

    std::vector<WCHAR> longText(2000, TEXT('漢'));
    longText.push_back(0);
    EXPECT_EQ(ToCodePage932(longText.data(), bytes), 1022) << "whole double-byte characters only";
    EXPECT_EQ(bytes[kCp932BufferBytes - 1], 0);
    EXPECT_EQ(FromCodePage932(bytes, 1022, back), 63);
    EXPECT_EQ(back[63], 0);
}

TEST(ModelTables, VariantFromDriverName) {
    const struct {
        const WCHAR* Driver;
        LONG Index;
    } rows[] = {
#if defined(KT_PROFILE_A)
        {TEXT("KT-508W"), 0},
        {TEXT("Acme KT-508X driver"), 1},
        {TEXT("KT-508X and KT-508W"), 1}, // the last name in table order wins, not the last in the text
        {TEXT("kt-508x"), 0},             // case counts
        {TEXT("Generic"), 0},
        {nullptr, 0},
#else
        {TEXT("KT-936U"), 5},
        {TEXT("KT-936U-12 Series"), 6},
        {TEXT("KT-936U-16"), 8},
        {TEXT("KT-936U-24"), 9},
        {TEXT("KT-936"), 0},
        {TEXT("Generic"), 0},
#endif
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FindModelIndex(r.Driver), r.Index);
    }
}

TEST(ModelTables, Lookups) {
    DRVDEVMODE rec = {};
    WCHAR slot[24];
    GetInputSlotName(1, slot);
    EXPECT_TRUE(WStrEqual(slot, TEXT("ManualFeed")));
    GetInputSlotName(2, slot);
    EXPECT_EQ(slot[0], 0);
    EXPECT_EQ(FindInputSlot(4), 1);
    EXPECT_EQ(FindInputSlot(7), -1);
    EXPECT_EQ(FindMediaType(3), 2);
    EXPECT_EQ(GetMaxCopies(), 9999);
    EXPECT_EQ(GetLandscapeAngle(&rec), 90);
    rec.Private.LandscapeRotation = 1;
    EXPECT_EQ(GetLandscapeAngle(&rec), 270);
    EXPECT_EQ(GetHandlingValue(SELECTOR_COPIES, 0), HANDLING_PRINTER);
    EXPECT_EQ(GetHandlingValue(SELECTOR_NUP, 1), HANDLING_PRINT_PROCESSOR);
    EXPECT_FALSE(IsCollateOffered(&rec));
    rec.Extension.CollateHandling = 1;
    EXPECT_TRUE(IsCollateOffered(&rec));
    Extent min = GetMinExtent(&rec);
    EXPECT_EQ(min.Width, 10);
    EXPECT_EQ(min.Length, 10);
#if defined(KT_PROFILE_B)
    EXPECT_EQ(GetMaxExtent(&rec).Width, 1040) << "slot 0 is a 203 dpi placeholder";
    EXPECT_EQ(GetResolutionX(&rec, 0), 203u);
    rec.Private.ModelIndex = 9;
    EXPECT_EQ(GetMaxExtent(&rec).Length, 2500);
    EXPECT_EQ(GetResolutionY(&rec, 0), 600u);
#else
    rec.Private.ModelIndex = 1;
    EXPECT_EQ(GetMaxExtent(&rec).Width, 2133);
    EXPECT_EQ(GetResolutionX(&rec, 0), 305u);
#endif
    DRVDEVMODE zero = {};
    rec.Private.ModelIndex = 1000;
    EXPECT_EQ(GetResolutionX(&rec, 0), GetResolutionX(&zero, 0)) << "out of the table reads variant 0";

    WCHAR cut[24];
    EXPECT_EQ(WStrCopy(cut, TEXT("abcdefghijklmnopqrstuvwxyz0123")), 23u);
    EXPECT_EQ(cut[23], 0);
}

} // namespace
