// Every call an entry point makes to the memory manager, the spooler, COM or the file system is failed once
// in turn: the entry point reports the failure the Windows way, leaves nothing open or allocated, and leaves
// each stored value of the printer either as it was or as a clean call writes it.
#include "bidi_fixture.h"

#include <winsim_services.h>

#include "res/resource.h"

#include <cctype>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr DWORD kGdiError = static_cast<DWORD>(-1);

struct Outcome {
    bool failed;
    DWORD error;
};

// One row per entry point: how it is called, and what its failure looks like.
struct EntryPoint {
    const char* name;
    Outcome (*call)(HANDLE printer);
};

Outcome Capability(DWORD result) {
    return {result == kGdiError, GetLastError()};
}
Outcome Bool(BOOL result) {
    return {!result, GetLastError()};
}

std::vector<BYTE> ExchangedInput(HANDLE printer) {
    std::vector<BYTE> in(kExchangedSize);
    GetDriverDevMode(in.data(), nullptr, printer, kPrinterNameW, GDM_COPY_EXCHANGED, CALLER_CONFIG);
    return in;
}

const std::u16string& TrayNotification() {
    static const std::u16string text =
        Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_INT", u"0"));
    return text;
}

// The user of a sheet: a field changed on the first page, then OK or Cancel.
void ChangeAndConfirm(void* sheet, void*) {
    winsim_ui_enter(winsim_ui_sheet_page(sheet, 0), IDC_GAP, "5");
    winsim_ui_sheet_press(sheet, IDOK);
}
void ChangeAndCancel(void* sheet, void*) {
    winsim_ui_enter(winsim_ui_sheet_page(sheet, 0), IDC_GAP, "5");
    winsim_ui_sheet_press(sheet, IDCANCEL);
}
void Confirm(void* sheet, void*) {
    winsim_ui_sheet_press(sheet, IDOK);
}

Outcome DocumentSheet(HANDLE printer, winsim_ui_script user) {
    std::vector<BYTE> in = ExchangedInput(printer);
    std::vector<BYTE> out(kExchangedSize);
    winsim_ui_on_sheet(user, nullptr);
    const LONG result = DrvDocumentProperties(
        nullptr, printer, const_cast<LPWSTR>(kPrinterNameW), reinterpret_cast<DEVMODEW*>(out.data()),
        reinterpret_cast<DEVMODEW*>(in.data()), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    return Outcome{result < 0, GetLastError()};
}

const EntryPoint kEntryPoints[] = {
    {"DrvDeviceCapabilities DC_PAPERNAMES",
     [](HANDLE printer) {
         std::vector<WCHAR> names(kMaxLabels * 64);
         return Capability(DrvDeviceCapabilities(printer, const_cast<PWSTR>(kPrinterNameW), DC_PAPERNAMES,
                                                 names.data(), nullptr));
     }},
    {"DrvDeviceCapabilities DC_PAPERSIZE with a record",
     [](HANDLE printer) {
         std::vector<BYTE> in = ExchangedInput(printer);
         std::vector<POINT> sizes(kMaxLabels);
         return Capability(DrvDeviceCapabilities(printer, const_cast<PWSTR>(kPrinterNameW), DC_PAPERSIZE,
                                                 sizes.data(), reinterpret_cast<DEVMODEW*>(in.data())));
     }},
    {"DrvSplDeviceCaps DC_PAPERNAMES",
     [](HANDLE printer) {
         std::vector<WCHAR> names(kMaxLabels * 64);
         return Capability(DrvSplDeviceCaps(printer, const_cast<PWSTR>(kPrinterNameW), DC_PAPERNAMES,
                                            names.data(), static_cast<DWORD>(names.size()), nullptr));
     }},
    {"DrvConvertDevMode CDM_CONVERT",
     [](HANDLE printer) {
         std::vector<BYTE> in = ExchangedInput(printer);
         std::vector<BYTE> out(kExchangedSize);
         LONG size = static_cast<LONG>(out.size());
         return Bool(DrvConvertDevMode(const_cast<PWSTR>(kPrinterNameW),
                                       reinterpret_cast<DEVMODEW*>(in.data()),
                                       reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT));
     }},
    {"DrvConvertDevMode CDM_DRIVER_DEFAULT",
     [](HANDLE) {
         std::vector<BYTE> out(kExchangedSize);
         LONG size = static_cast<LONG>(out.size());
         return Bool(DrvConvertDevMode(const_cast<PWSTR>(kPrinterNameW), nullptr,
                                       reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_DRIVER_DEFAULT));
     }},
    {"DrvQueryJobAttributes level 4",
     [](HANDLE printer) {
         std::vector<BYTE> in = ExchangedInput(printer);
         DRVDEVMODE* rec = reinterpret_cast<DRVDEVMODE*>(in.data());
         rec->Private.Copies = 5;
         rec->Public.dmCopies = 5;
         ATTRIBUTE_INFO_4 info = {};
         info.dwJobNumberOfPagesPerSide = 1;
         info.dwDrvNumberOfPagesPerSide = 1;
         info.dwJobNumberOfCopies = 1;
         info.dwDrvNumberOfCopies = 1;
         return Bool(DrvQueryJobAttributes(printer, reinterpret_cast<DEVMODEW*>(in.data()), 4,
                                           reinterpret_cast<BYTE*>(&info)));
     }},
    {"DrvDocumentProperties DM_COPY",
     [](HANDLE printer) {
         std::vector<BYTE> in = ExchangedInput(printer);
         std::vector<BYTE> out(kExchangedSize);
         const LONG result = DrvDocumentProperties(
             nullptr, printer, const_cast<LPWSTR>(kPrinterNameW), reinterpret_cast<DEVMODEW*>(out.data()),
             reinterpret_cast<DEVMODEW*>(in.data()), DM_COPY | DM_IN_BUFFER);
         return Outcome{result < 0, GetLastError()};
     }},
    {"DrvDocumentProperties DM_PROMPT, OK",
     [](HANDLE printer) { return DocumentSheet(printer, ChangeAndConfirm); }},
    {"DrvDocumentProperties DM_PROMPT, Cancel",
     [](HANDLE printer) { return DocumentSheet(printer, ChangeAndCancel); }},
    {"DrvDocumentProperties DM_PROMPT inside Explorer, OK",
     [](HANDLE printer) {
         // Inside Explorer the label page writes the label list back at apply.
         winsim_ui_set_process_image("C:\\Windows\\explorer.exe");
         const Outcome outcome = DocumentSheet(printer, ChangeAndConfirm);
         winsim_ui_set_process_image(nullptr);
         return outcome;
     }},
    {"PrinterProperties, OK",
     [](HANDLE printer) {
         winsim_ui_on_sheet(Confirm, nullptr);
         return Bool(PrinterProperties(nullptr, printer));
     }},
    {"DrvPrinterEvent PRINTER_EVENT_INITIALIZE",
     [](HANDLE) {
         // Installing never fails on this driver's account: a failure leaves the defaults.
         const BOOL result =
             DrvPrinterEvent(const_cast<LPWSTR>(kPrinterNameW), PRINTER_EVENT_INITIALIZE, 0, 0);
         return Outcome{!result, result ? ERROR_SUCCESS : GetLastError()};
     }},
    {"DrvPrinterEvent PRINTER_EVENT_CONFIGURATION_UPDATE",
     [](HANDLE) {
         return Bool(DrvPrinterEvent(const_cast<LPWSTR>(kPrinterNameW), PRINTER_EVENT_CONFIGURATION_UPDATE, 0,
                                     reinterpret_cast<LPARAM>(TrayNotification().c_str())));
     }},
};

// The printer's stored values an entry point may write.
const char* const kStoredValues[] = {"Private DevMode", "Private Paper", "SPLUserModePrinterDriver",
                                     "PrintProcCaps_NT EMF 1.006"};

struct Stored {
    std::vector<BYTE> record; // empty: none
    std::map<std::string, std::vector<BYTE>> values;
    bool operator==(const Stored&) const = default;
};

std::vector<BYTE> Bytes(int32_t size, const std::function<void(BYTE*, uint32_t)>& read) {
    if (size < 0) {
        return {};
    }
    std::vector<BYTE> bytes(static_cast<size_t>(size) + 1, 0); // + 1: a stored empty value is not "none"
    read(bytes.data() + 1, static_cast<uint32_t>(size));
    bytes[0] = 1;
    return bytes;
}

Stored ReadStored() {
    Stored s;
    s.record = Bytes(winsim_get_printer_devmode(kPrinterName, nullptr, 0),
                     [](BYTE* buf, uint32_t size) { winsim_get_printer_devmode(kPrinterName, buf, size); });
    for (const char* value : kStoredValues) {
        s.values[value] = Bytes(winsim_get_printer_data(kPrinterName, value, nullptr, nullptr, 0),
                                [value](BYTE* buf, uint32_t size) {
                                    winsim_get_printer_data(kPrinterName, value, nullptr, buf, size);
                                });
    }
    return s;
}

// Calls of every service while fn runs.
std::map<std::string, uint32_t> CallsDuring(const std::function<void()>& fn) {
    std::map<std::string, uint32_t> before;
    for (size_t i = 0; const char* name = winsim_service_name(i); ++i) {
        before[name] = winsim_call_count(name);
    }
    fn();
    std::map<std::string, uint32_t> calls;
    for (size_t i = 0; const char* name = winsim_service_name(i); ++i) {
        if (const uint32_t n = winsim_call_count(name) - before[name]) {
            calls[name] = n;
        }
    }
    return calls;
}

class FaultSweep : public BidiTest, public ::testing::WithParamInterface<size_t> {
  protected:
    // A printer as installed and then set up: stored settings and label list, copies left to the print
    // processor, whose capabilities are known. The trays answer nothing, so that a tray query that fails
    // leaves what one that succeeds would.
    void Prepare() {
        Install(0);
        const DWORD caps[4] = {1, 0x0B, 0, 100};
        StoreValue("PrintProcCaps_NT EMF 1.006", caps, sizeof(caps));
        DRVDEVMODE rec = Settled();
        rec.Extension.Tray1ModelIndex = rec.Extension.Tray2ModelIndex = -1;
        rec.Extension.CopyHandling = 1;
        StoreDevMode(&rec, kExchangedSize);
        StoreExtension(rec.Extension);
        ASSERT_TRUE(WriteStoredLabels(&rec, printer_));
    }
};

TEST_P(FaultSweep, EveryCallFailedOnceInTurn) {
    const EntryPoint& entry = kEntryPoints[GetParam()];
    Prepare();
    const Stored before = ReadStored();
    Outcome clean{};
    const auto calls = CallsDuring([&] { clean = entry.call(printer_); });
    ASSERT_FALSE(clean.failed) << entry.name << " fails without an injected failure";
    const Stored written = ReadStored();

    uint32_t injected = 0;
    for (const auto& [service, count] : calls) {
        for (uint32_t i = 0; i < count; ++i) {
            SCOPED_TRACE(std::string(entry.name) + ": " + service + " call " + std::to_string(i + 1));
            Prepare();
            const uint32_t handles = winsim_open_handles();
            const uint32_t objects = winsim_com_objects();
            const uint32_t allocations = winsim_com_allocations();
            ASSERT_EQ(winsim_fail_calls(service.c_str(), i, 1), 1);
            SetLastError(ERROR_SUCCESS);
            const Outcome got = entry.call(printer_);
            winsim_clear_faults();
            ++injected;
            if (got.failed) {
                EXPECT_NE(got.error, static_cast<DWORD>(ERROR_SUCCESS)) << "failed without saying why";
            }
            EXPECT_EQ(winsim_open_handles(), handles) << "a handle was left open";
            EXPECT_EQ(winsim_com_objects(), objects) << "a COM object was left alive";
            EXPECT_EQ(winsim_com_allocations(), allocations) << "a COM allocation was not freed";
            EXPECT_EQ(winsim_com_initialized(), 0u) << "COM was left initialised";
            EXPECT_EQ(winsim_ui_windows(), 0u) << "a window was left open";
            EXPECT_EQ(winsim_ui_gdi_objects(), 0u) << "a drawing object was left alive";
            EXPECT_EQ(winsim_ui_sheet_page_objects(), 0u) << "a property sheet page was left alive";
            EXPECT_EQ(winsim_ui_compstui_loads(), 0) << "the common property sheet library was left loaded";
            const Stored after = ReadStored();
            EXPECT_TRUE(after.record == before.record || after.record == written.record)
                << "default record half written";
            for (const char* value : kStoredValues) {
                EXPECT_TRUE(after.values.at(value) == before.values.at(value) ||
                            after.values.at(value) == written.values.at(value))
                    << value << " half written";
            }
        }
    }
    std::printf("[ fault sweep ] %s: %u injected failures over %zu services\n", entry.name, injected,
                calls.size());
}

INSTANTIATE_TEST_SUITE_P(EntryPoints, FaultSweep, ::testing::Range<size_t>(0, std::size(kEntryPoints)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name = kEntryPoints[info.param].name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

} // namespace
