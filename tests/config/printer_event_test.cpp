// DrvPrinterEvent and the other small entry points: which events do something, and what printer
// initialisation stores for the printer.
#include "bidi_fixture.h"

namespace {

class PrinterEvents : public BidiTest {
  protected:
    BOOL Event(INT event, LPARAM parameter = 0) {
        return DrvPrinterEvent(const_cast<LPWSTR>(kPrinterNameW), event, 0, parameter);
    }
};

TEST_F(PrinterEvents, WhichEventsAreHandled) {
    for (INT event : {1, 2, 4, 5, 6, 7}) {
        SetLastError(0xDEADBEEF);
        EXPECT_TRUE(Event(event)) << "event " << event;
        EXPECT_EQ(GetLastError(), 0xDEADBEEFu);
    }
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "Private DevMode", nullptr, nullptr, 0), -1)
        << "those events change nothing";
    for (INT event : {0, 9, -1, 1000}) {
        SetLastError(0);
        EXPECT_FALSE(Event(event)) << "event " << event;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_TRUE(Event(PRINTER_EVENT_CONFIGURATION_UPDATE, 0)) << "a notification without text";
}

TEST_F(PrinterEvents, InitialisationStoresTheTraysTheDeviceReports) {
    SetInt(kTray1, 0);  // the media code of every model record
    SetInt(kTray2, 12); // a code no model record has
    SetText("\\Printer.Configuration.Name", u"KT");
    winsim_log_clear();
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    const DEVICEEXT ext = StoredExtension();
    EXPECT_EQ(ext.Tray1ModelIndex, 0);
    EXPECT_EQ(ext.Tray2ModelIndex, 0) << "an unknown code stores index 0 at initialisation";
    EXPECT_EQ(ext.NupHandling, 0);
    EXPECT_EQ(ext.DeviceHalftone.HTPatternSize, 7u) << "the rest of the defaults";
    EXPECT_EQ(LogLineStarting("IBidiSpl_BindDevice"), "IBidiSpl_BindDevice device=Label Printer access=1");
    EXPECT_EQ(LogCount("IBidiSpl_SendRecv action=EnumSchema"), 2u)
        << "once for the count, once for the paths";
    EXPECT_EQ(LogCount("IBidiSpl_SendRecv action=Get schema="), 2u)
        << "only the two tray paths are asked for";
    EXPECT_EQ(LogLineStarting("OpenPrinterW"), "OpenPrinterW name=Label Printer access=0x000F000C");
    EXPECT_EQ(winsim_call_count("SetPrinterW"), 0u) << "initialisation does not republish";
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "SPLUserModePrinterDriver", nullptr, nullptr, 0), -1)
        << "only the kit's driver gets the identifier";
}

TEST_F(PrinterEvents, InitialisationOnOlderSystemsAndWithoutBidi) {
    SetInt(kTray1, 0);
    // Windows 2000 (code 103): no bidi query at all.
    winsim_set_windows_version(5, 0, 4, 2195, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    EXPECT_EQ(winsim_call_count("CoCreateInstance"), 0u);
    EXPECT_EQ(StoredExtension().Tray1ModelIndex, -1) << "the default: no tray known";

    // Windows XP found by the fallback (code 104) is the first that asks.
    winsim_set_windows_version(5, 1, 0, 2600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    winsim_fail_calls("VerifyVersionInfoW", 1, 100); // only the product type is known; GetVersionExW decides
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    winsim_clear_faults();
    EXPECT_GT(winsim_call_count("CoCreateInstance"), 0u);
    EXPECT_EQ(StoredExtension().Tray1ModelIndex, 0);

    // A printer without bidi: the defaults are stored all the same.
    winsim_clear_bidi_values(kPrinterName);
    winsim_delete_printer_data(kPrinterName, "Private DevMode");
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    EXPECT_EQ(StoredExtension().Tray1ModelIndex, -1);
    EXPECT_EQ(StoredExtension().Tray2ModelIndex, -1);
}

TEST_F(PrinterEvents, InitialisationTakesPathsAsThePrinterSpellsThem) {
    SetInt("\\printer.configuration.paper:tray1", 0);
    SetText(kTray2, u"0"); // a string, not a number
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    EXPECT_EQ(StoredExtension().Tray1ModelIndex, -1) << "a lower-case path is another path";
    EXPECT_EQ(StoredExtension().Tray2ModelIndex, -1) << "only integer values name a media code";
}

TEST_F(PrinterEvents, KitIdentifierForTheKitDriver) {
    Install(0, "HX-ZEB Driver CM with UserMode");
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    uint32_t type = 0;
    char16_t id[16] = {};
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "SPLUserModePrinterDriver", &type, id, sizeof(id)), 14);
    EXPECT_EQ(type, static_cast<uint32_t>(REG_SZ));
    EXPECT_EQ(std::u16string(id), u"HXZEBUM");
    // A driver name that only contains the kit's is not the kit.
    Install(0, "HX-ZEB Driver CM with UserMode 2");
    ASSERT_TRUE(Event(PRINTER_EVENT_INITIALIZE));
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "SPLUserModePrinterDriver", nullptr, nullptr, 0), -1);
}

TEST_F(PrinterEvents, InitialisationFailuresStillReportSuccess) {
    for (const char* service : {"OpenPrinterW", "GlobalAlloc", "SetPrinterDataW", "GetPrinterW"}) {
        winsim_delete_printer_data(kPrinterName, "Private DevMode");
        winsim_fail_calls(service, 0, 1);
        EXPECT_TRUE(Event(PRINTER_EVENT_INITIALIZE)) << service;
        winsim_clear_faults();
    }
    EXPECT_TRUE(DrvPrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_TRUE(DrvPrinterEvent(const_cast<LPWSTR>(TEXT("No such printer")), PRINTER_EVENT_INITIALIZE, 0, 0));
}

TEST_F(PrinterEvents, SmallEntryPoints) {
    DWORD resource = 0xDEADBEEF;
    EXPECT_TRUE(DevQueryPrint(printer_, nullptr, &resource));
    EXPECT_EQ(resource, 0u);
    EXPECT_TRUE(DevQueryPrint(printer_, nullptr, nullptr));
    DEVQUERYPRINT_INFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(DevQueryPrintEx(&info));
    EXPECT_TRUE(DevQueryPrintEx(nullptr));
    EXPECT_EQ(DrvDocumentEvent(printer_, nullptr, 1, 0, nullptr, 0, nullptr), DOCUMENTEVENT_UNSUPPORTED);
    SetLastError(0);
    EXPECT_FALSE(DrvQueryColorProfile(printer_, nullptr, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    BYTE upgrade[32] = {};
    const struct {
        DWORD Level;
        bool Info;
        bool Result;
    } cases[] = {{1, true, true}, {2, true, true}, {1, false, false}, {0, true, false}, {3, true, false}};
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(DrvUpgradePrinter(c.Level, c.Info ? upgrade : nullptr) != FALSE, c.Result)
            << "level " << c.Level;
        if (!c.Result) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        }
    }
}

} // namespace
