// The document and printer sheets driven the way the common property sheet library drives them, with a
// stand-in service function that records what it is asked and answers with handles. Nothing here shows a
// window.
#include "config_fixture.h"

#include <compstui.h>
#include <prsht.h>

#include <vector>

#include "about.h"
#include "device_page.h"
#include "label_page.h"
#include "module.h"
#include "pages.h"
#include "printer_data.h"
#include "res/resource.h"
#include "sheet_data.h"
#include "sheets.h"

namespace {

struct ServiceCall {
    UINT Function;
    LPARAM First;
    LPARAM Second;
};

// The common library's service function: every call is kept; page adds answer a handle, unless the test
// asked the add number failAdd (from 1) to fail.
struct FakeComPropSheet {
    static inline std::vector<ServiceCall> calls;
    static inline int failAdd = 0;
    static inline int adds = 0;
    // What CPSFUNC_SET_RESULT answers: how many sheet functions the library called with the result.
    static inline LONG_PTR setResultAnswer = 1;
    static LONG_PTR CALLBACK Service(HANDLE, UINT function, LPARAM first, LPARAM second) {
        calls.push_back({function, first, second});
        if (function == CPSFUNC_ADD_HPROPSHEETPAGE || function == CPSFUNC_ADD_PCOMPROPSHEETUIW) {
            ++adds;
            if (adds == failAdd) {
                return 0;
            }
            // A native page handed over is the library's to destroy.
            if (function == CPSFUNC_ADD_HPROPSHEETPAGE) {
                taken.push_back(reinterpret_cast<HPROPSHEETPAGE>(first));
            }
            return 0x7000 + adds;
        }
        return function == CPSFUNC_SET_RESULT ? setResultAnswer : 1;
    }
    static inline std::vector<HPROPSHEETPAGE> taken;
    static void Reset() {
        for (HPROPSHEETPAGE page : taken) {
            DestroyPropertySheetPage(page);
        }
        taken.clear();
        calls.clear();
        setResultAnswer = 1;
        failAdd = 0;
        adds = 0;
    }
};

const HANDLE kSheetHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5150));

class Sheets : public ConfigTest {
  protected:
    void SetUp() override {
        ConfigTest::SetUp();
        FakeComPropSheet::Reset();
        // Windows 2000 takes the pages as descriptors, which needs no window system.
        SetWindows2000();
        heapsMade_ = winsim_call_count("HeapCreate");
        heapsGone_ = winsim_call_count("HeapDestroy");
    }
    void TearDown() override {
        FakeComPropSheet::Reset();
        EXPECT_EQ(winsim_call_count("HeapCreate") - heapsMade_ - heapFaults_,
                  winsim_call_count("HeapDestroy") - heapsGone_)
            << "a sheet's heap was not destroyed";
        ConfigTest::TearDown();
    }
    PROPSHEETUI_INFO Info(void* header, WORD reason = PROPSHEETUI_REASON_INIT) {
        PROPSHEETUI_INFO info = {};
        info.cbSize = sizeof(info);
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Reason = reason;
        info.hComPropSheet = kSheetHandle;
        info.pfnComPropSheet = FakeComPropSheet::Service;
        info.lParamInit = reinterpret_cast<LPARAM>(header);
        return info;
    }
    DOCUMENTPROPERTYHEADER Document(DWORD mode, DEVMODEW* in = nullptr, DEVMODEW* out = nullptr) {
        return {
            sizeof(DOCUMENTPROPERTYHEADER), 0, printer_, const_cast<LPWSTR>(kPrinterNameW), in, out, 0, mode};
    }
    DEVICEPROPERTYHEADER Device(DWORD flags = 0) {
        return {sizeof(DEVICEPROPERTYHEADER), static_cast<WORD>(flags), printer_,
                const_cast<LPWSTR>(kPrinterNameW)};
    }
    static SHEETDATA* SheetOf(const PROPSHEETUI_INFO& info) {
        return reinterpret_cast<SHEETDATA*>(info.UserData);
    }
    LONG Step(PROPSHEETUI_INFO& info, WORD reason, LPARAM param, bool document = true) {
        info.Reason = reason;
        return document ? DrvDocumentPropertySheets(&info, param) : DrvDevicePropertySheets(&info, param);
    }
    void Close(PROPSHEETUI_INFO& info, bool document = true) {
        EXPECT_EQ(Step(info, PROPSHEETUI_REASON_DESTROY, 0, document), 1);
    }
    void SetWindows2000() { winsim_set_windows_version(5, 0, 4, 2195, 1, 2); }
    void SetWindows10() { winsim_set_windows_version(10, 0, 0, 19045, 1, 2); }
    // Whether the window system makes native pages (the headless one may not).
    static bool NativePagesWork() {
        PROPSHEETPAGEW page = {};
        page.dwSize = sizeof(page);
        page.hInstance = ThisModule();
        page.pszTemplate = MAKEINTRESOURCEW(IDD_ABOUT_PAGE);
        page.pfnDlgProc = AboutPageProc;
        HPROPSHEETPAGE made = CreatePropertySheetPageW(&page);
        if (made) {
            DestroyPropertySheetPage(made);
        }
        return made != nullptr;
    }

    uint32_t heapsMade_ = 0;
    uint32_t heapsGone_ = 0;
    uint32_t heapFaults_ = 0;
};

struct PageCase {
    bool printer;
    std::vector<WORD> templates;
    std::vector<DLGPROC> procedures;
};

TEST_F(Sheets, PageSetsInOrderWithOneHeaderItemEach) {
    const PageCase cases[] = {
        {false, {IDD_LABEL_PAGE, IDD_DEVICE_PAGE}, {LabelPageProc, DeviceOptionsPageProc}},
        {true, {IDD_ABOUT_PAGE}, {AboutPageProc}},
    };
    for (bool old : {true, false}) {
        if (!old) {
            SetWindows10();
        }
        const bool native = !old && NativePagesWork();
        for (const PageCase& c : cases) {
            SCOPED_TRACE(std::string(c.printer ? "printer" : "document") + (old ? ", Windows 2000" : ""));
            FakeComPropSheet::Reset();
            DOCUMENTPROPERTYHEADER document = Document(DM_COPY);
            DEVICEPROPERTYHEADER device = Device();
            PROPSHEETUI_INFO info = Info(c.printer ? static_cast<void*>(&device) : &document);
            info.Result = 55;
            if (!old && !native) {
                // A page the window system cannot make fails the opening, and nothing is kept.
                EXPECT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, !c.printer), -1);
                EXPECT_EQ(info.UserData, 0u);
                continue;
            }
            ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, !c.printer), 1);
            EXPECT_EQ(info.Result, 0u);
            SHEETDATA* sheet = SheetOf(info);
            ASSERT_TRUE(IsValidSheet(sheet));
            ASSERT_EQ(sheet->PageCount, static_cast<int>(c.templates.size()));
            ASSERT_EQ(FakeComPropSheet::calls.size(), c.templates.size());
            EXPECT_EQ(sheet->Used[TABLE_ITEMS], c.templates.size());
            EXPECT_EQ(sheet->BuildState, static_cast<DWORD>(BUILD_DONE));
            EXPECT_EQ(W(sheet->HelpFileName), W(TEXT("LBLHELP.CHM")));
            EXPECT_EQ(W(sheet->HelpFilePath),
                      W(TEXT("C:\\Windows\\System32\\spool\\drivers\\x64\\3\\LBLHELP.CHM")));
            for (size_t i = 0; i < c.templates.size(); ++i) {
                const PAGEINFO& page = sheet->Pages[i];
                EXPECT_EQ(page.Kind, kCustomPage);
                EXPECT_EQ(page.TemplateId, c.templates[i]);
                EXPECT_EQ(page.DialogProc, c.procedures[i]);
                EXPECT_EQ(page.Flags, 0u);
                const COMPROPSHEETUI& ui = sheet->Descriptors[i].Sheet;
                EXPECT_EQ(ui.pOptItem, &sheet->Items[i]);
                EXPECT_EQ(ui.cOptItem, 1);
                EXPECT_EQ(ui.Flags, CPSUIF_UPDATE_PERMISSION);
                EXPECT_EQ(ui.UserData, reinterpret_cast<ULONG_PTR>(sheet));
                EXPECT_EQ(ui.pHelpFile, sheet->HelpFilePath);
                EXPECT_EQ(ui.CallerVersion, 0x0100);
                EXPECT_EQ(ui.cDlgPage, 1);
                EXPECT_EQ(ui.pDlgPage->DlgTemplateID, c.templates[i]);
                EXPECT_EQ(ui.pDlgPage->DlgProc, c.procedures[i]);
                const OPTITEM& item = sheet->Items[i];
                EXPECT_EQ(item.DMPubID, DMPUB_USER + i);
                EXPECT_EQ(item.Level, 1);
                EXPECT_EQ(item.Flags, static_cast<DWORD>(OPTIF_CALLBACK));
                EXPECT_EQ(item.pName, MAKEINTRESOURCEW(IDS_CPSUI_NONE));
                EXPECT_EQ(item.Sel, IDI_CPSUI_EMPTY);
                EXPECT_EQ(item.pOptType, nullptr);
                const ServiceCall& call = FakeComPropSheet::calls[i];
                if (old) {
                    EXPECT_EQ(call.Function, static_cast<UINT>(CPSFUNC_ADD_PCOMPROPSHEETUIW));
                    EXPECT_EQ(call.First, reinterpret_cast<LPARAM>(&ui));
                } else {
                    EXPECT_EQ(call.Function, static_cast<UINT>(CPSFUNC_ADD_HPROPSHEETPAGE));
                    EXPECT_NE(call.First, 0);
                }
                EXPECT_EQ(sheet->PageHandles[i], reinterpret_cast<HANDLE>(0x7001 + i));
            }
            Close(info, !c.printer);
            EXPECT_EQ(info.UserData, 0u);
        }
    }
}

TEST_F(Sheets, KindAndPermissionFollowTheCaller) {
    struct Case {
        DWORD mode;
        INT kind;
        INT permission;
    } const cases[] = {
        {DM_COPY, SHEET_DOCUMENT, 1},
        {DM_COPY | DM_ADVANCED, SHEET_ADVANCED, 1},
        {DM_COPY | DM_USER_DEFAULT, SHEET_USER_DEFAULT, 1},
        {DM_COPY | DM_ADVANCED | DM_USER_DEFAULT, SHEET_ADVANCED, 1},
        {DM_COPY | DM_NOPERMISSION, SHEET_DOCUMENT, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        DOCUMENTPROPERTYHEADER header = Document(c.mode);
        PROPSHEETUI_INFO info = Info(&header);
        ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0), 1);
        EXPECT_EQ(SheetOf(info)->SheetKind, c.kind);
        EXPECT_EQ(SheetOf(info)->UpdatePermission, c.permission);
        EXPECT_EQ(SheetOf(info)->CallerMode, c.mode);
        EXPECT_EQ(SheetOf(info)->Descriptors[0].Sheet.Flags, c.permission ? CPSUIF_UPDATE_PERMISSION : 0);
        Close(info);
    }
    for (DWORD flags : {0u, static_cast<DWORD>(DPS_NOPERMISSION)}) {
        DEVICEPROPERTYHEADER header = Device(flags);
        header.pszPrinterName = nullptr; // as PrinterProperties opens it: the name comes from the printer
        PROPSHEETUI_INFO info = Info(&header);
        ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, false), 1);
        EXPECT_EQ(SheetOf(info)->SheetKind, SHEET_PRINTER);
        EXPECT_EQ(SheetOf(info)->CallerMode, 0u);
        EXPECT_EQ(SheetOf(info)->UpdatePermission, flags ? 0 : 1);
        EXPECT_EQ(W(SheetOf(info)->PrinterName), W(kPrinterNameW));
        Close(info, false);
    }
}

TEST_F(Sheets, HeaderOfEachSheet) {
    for (bool document : {true, false}) {
        SCOPED_TRACE(document);
        DOCUMENTPROPERTYHEADER doc = Document(DM_COPY);
        DEVICEPROPERTYHEADER dev = Device();
        PROPSHEETUI_INFO info = Info(document ? static_cast<void*>(&doc) : &dev);
        ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, document), 1);
        PROPSHEETUI_INFO_HEADER header = {};
        header.cbSize = sizeof(header);
        EXPECT_EQ(Step(info, PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header), document),
                  1);
        EXPECT_EQ(header.Flags, PSUIHDRF_NOAPPLYNOW | PSUIHDRF_PROPTITLE);
        EXPECT_EQ(header.IconID, static_cast<ULONG_PTR>(IDI_CPSUI_PRINTER));
        EXPECT_EQ(header.hInst, ThisModule());
        if (document) {
            ASSERT_NE(header.pTitle, nullptr);
            EXPECT_EQ(header.pTitle[0], 0);
        } else {
            EXPECT_EQ(header.pTitle, MAKEINTRESOURCEW(IDS_CPSUI_PRINTER));
        }
        Close(info, document);
    }
}

TEST_F(Sheets, UnknownReasonAndForeignRecordsChangeNothing) {
    DOCUMENTPROPERTYHEADER header = Document(DM_COPY);
    PROPSHEETUI_INFO info = Info(&header);
    ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0), 1);
    std::vector<BYTE> before(reinterpret_cast<BYTE*>(SheetOf(info)),
                             reinterpret_cast<BYTE*>(SheetOf(info)) + sizeof(SHEETDATA));
    for (WORD reason : {WORD{4}, WORD{0xFFFF}}) {
        EXPECT_EQ(Step(info, reason, 0), -1);
        DEVICEPROPERTYHEADER dev = Device();
        PROPSHEETUI_INFO other = Info(&dev, reason);
        other.UserData = info.UserData;
        EXPECT_EQ(DrvDevicePropertySheets(&other, 0), -1);
    }
    EXPECT_EQ(std::memcmp(before.data(), SheetOf(info), sizeof(SHEETDATA)), 0);
    EXPECT_TRUE(FakeComPropSheet::calls.size() == 2u) << "only the two page adds reached the library";

    // A record whose check fails is not touched, at any step.
    SHEETDATA* real = SheetOf(info);
    struct Spoil {
        const char* what;
        void (*apply)(SHEETDATA*);
        void (*undo)(SHEETDATA*);
    } const spoils[] = {
        {"Self", [](SHEETDATA* s) { s->Self = nullptr; }, [](SHEETDATA* s) { s->Self = s; }},
        {"SelfEnd", [](SHEETDATA* s) { s->SelfEnd = s + 1; }, [](SHEETDATA* s) { s->SelfEnd = s; }},
        {"Size", [](SHEETDATA* s) { s->Size = 8; }, [](SHEETDATA* s) { s->Size = sizeof(SHEETDATA); }},
    };
    SETRESULT_INFO ok = {sizeof(ok), 0, nullptr, CPSUI_OK};
    for (const Spoil& s : spoils) {
        SCOPED_TRACE(s.what);
        s.apply(real);
        for (WORD reason : {PROPSHEETUI_REASON_GET_INFO_HEADER, PROPSHEETUI_REASON_SET_RESULT,
                            PROPSHEETUI_REASON_DESTROY}) {
            PROPSHEETUI_INFO_HEADER h = {};
            EXPECT_EQ(Step(info, reason,
                           reason == PROPSHEETUI_REASON_SET_RESULT ? reinterpret_cast<LPARAM>(&ok)
                                                                   : reinterpret_cast<LPARAM>(&h)),
                      -1);
        }
        s.undo(real);
    }
    info.UserData = 0;
    EXPECT_EQ(Step(info, PROPSHEETUI_REASON_DESTROY, 0), -1);
    info.UserData = reinterpret_cast<ULONG_PTR>(real);
    Close(info);
    PROPSHEETUI_INFO headerless = Info(nullptr);
    EXPECT_EQ(DrvDocumentPropertySheets(&headerless, 0), -1);
    EXPECT_EQ(DrvDevicePropertySheets(&headerless, 0), -1);
    EXPECT_EQ(DrvDevicePropertySheets(nullptr, 0), -1);
}

TEST_F(Sheets, DocumentResultReachesTheOutputOnlyWhenAsked) {
    struct Case {
        LRESULT result;
        DWORD mode;
        bool output;
        bool written;
    } const cases[] = {
        {CPSUI_OK, DM_COPY, true, true},      {CPSUI_OK, DM_UPDATE, true, true},
        {CPSUI_CANCEL, DM_COPY, true, false}, {CPSUI_OK, DM_PROMPT, true, false},
        {CPSUI_OK, DM_COPY, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "result " << c.result << " mode " << c.mode);
        std::vector<BYTE> out(kWorkingSize + 16, 0xCD);
        const std::vector<BYTE> untouched = out;
        DOCUMENTPROPERTYHEADER header = Document(c.mode, nullptr, c.output ? AsDevMode(out) : nullptr);
        PROPSHEETUI_INFO info = Info(&header);
        ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0), 1);
        DRVDEVMODE* working = SheetSettings(SheetOf(info));
        working->Private.Copies = 7;
        working->Public.dmCopies = 1; // the public part is rewritten from the private block first
        std::memset(&working->Extension, 0x5A, sizeof(working->Extension));
        SETRESULT_INFO result = {sizeof(result), 0, nullptr, c.result};
        EXPECT_EQ(Step(info, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result)), 1);
        EXPECT_EQ(info.Result, static_cast<ULONG_PTR>(c.result));
        if (c.written) {
            EXPECT_EQ(AsRecord(out)->Private.Copies, 7);
            EXPECT_EQ(AsRecord(out)->Public.dmCopies, 7);
            EXPECT_EQ(AsRecord(out)->Private.Signature, kDevModeSignature);
            EXPECT_TRUE(
                std::equal(out.begin() + kExchangedSize, out.end(), untouched.begin() + kExchangedSize))
                << "the device extension stays with the sheet";
        } else {
            EXPECT_EQ(out, untouched);
        }
        Close(info);
    }
}

TEST_F(Sheets, PrinterResultIsStoredAndAnnouncedOnceOnlyWhenConfirmed) {
    for (LRESULT outcome : {CPSUI_CANCEL, CPSUI_OK}) {
        SCOPED_TRACE(outcome);
        winsim_delete_printer_data(kPrinterName, "Private DevMode");
        const uint32_t broadcasts = winsim_call_count("SendMessageTimeoutW");
        DEVICEPROPERTYHEADER header = Device();
        PROPSHEETUI_INFO info = Info(&header);
        ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, false), 1);
        DRVDEVMODE* working = SheetSettings(SheetOf(info));
        working->Extension.CopyHandling = 3;
        const DEVICEEXT expected = working->Extension;
        SETRESULT_INFO result = {sizeof(result), 0, nullptr, outcome};
        EXPECT_EQ(Step(info, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result), false), 1);
        EXPECT_EQ(info.Result, static_cast<ULONG_PTR>(outcome));
        const int32_t stored = winsim_get_printer_data(kPrinterName, "Private DevMode", nullptr, nullptr, 0);
        if (outcome == CPSUI_OK) {
            const DEVICEEXT ext = StoredExtension();
            EXPECT_EQ(std::memcmp(&ext, &expected, sizeof(ext)), 0);
            // One broadcast at most; the stand-in window system does not yet count its broadcasts.
            EXPECT_LE(winsim_call_count("SendMessageTimeoutW") - broadcasts, 1u);
        } else {
            EXPECT_LT(stored, 0) << "nothing stored";
            EXPECT_EQ(winsim_call_count("SendMessageTimeoutW"), broadcasts);
        }
        Close(info, false);
    }
}

TEST_F(Sheets, ConfirmSheetAsksForTheResultWithTheFirstPage) {
    DEVICEPROPERTYHEADER header = Device();
    PROPSHEETUI_INFO info = Info(&header);
    ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, false), 1);
    ConfirmSheet(SheetOf(info));
    ASSERT_EQ(FakeComPropSheet::calls.size(), 2u);
    const ServiceCall& call = FakeComPropSheet::calls[1];
    EXPECT_EQ(call.Function, static_cast<UINT>(CPSFUNC_SET_RESULT));
    EXPECT_EQ(call.First, 0x7001);
    EXPECT_EQ(call.Second, CPSUI_OK);
    ConfirmSheet(nullptr);
    EXPECT_EQ(FakeComPropSheet::calls.size(), 2u);
    Close(info, false);
}

TEST_F(Sheets, FailedOpeningLeavesNothingBehind) {
    // A page the library does not take.
    for (int failAdd : {1, 2}) {
        FakeComPropSheet::Reset();
        FakeComPropSheet::failAdd = failAdd;
        DOCUMENTPROPERTYHEADER header = Document(DM_COPY);
        PROPSHEETUI_INFO info = Info(&header);
        EXPECT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0), -1) << "add " << failAdd;
        EXPECT_EQ(info.UserData, 0u);
    }
    // Each allocation in turn, until opening no longer meets one.
    for (const char* service : {"HeapCreate", "HeapAlloc", "GlobalAlloc"}) {
        for (uint32_t skip = 0;; ++skip) {
            SCOPED_TRACE(testing::Message() << service << " after " << skip);
            FakeComPropSheet::Reset();
            const uint32_t before = winsim_call_count(service);
            ASSERT_EQ(winsim_fail_calls(service, skip, 1), 1);
            DOCUMENTPROPERTYHEADER header = Document(DM_COPY);
            PROPSHEETUI_INFO info = Info(&header);
            const LONG opened = Step(info, PROPSHEETUI_REASON_INIT, 0);
            const bool reached = winsim_call_count(service) - before > skip;
            winsim_clear_faults();
            if (!reached) {
                ASSERT_EQ(opened, 1);
                Close(info);
                break;
            }
            if (std::string(service) == "HeapCreate") {
                ++heapFaults_;
            }
            if (opened == 1) {
                Close(info); // an allocation whose failure the build lives with
            } else {
                EXPECT_EQ(opened, -1);
                EXPECT_EQ(info.UserData, 0u);
            }
            ASSERT_LT(skip, 64u);
        }
    }
}

TEST_F(Sheets, OlderEntryPointsWithoutTheCommonLibrary) {
    std::vector<BYTE> in = Exchanged();
    std::vector<BYTE> out(kExchangedSize, 0xCD);
    const std::vector<BYTE> untouched = out;
    LPWSTR name = const_cast<LPWSTR>(kPrinterNameW);
    EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, name, nullptr, nullptr, 0),
              static_cast<LONG>(kExchangedSize));
    SetLastError(0);
    EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, name, nullptr, AsDevMode(in), DM_COPY | DM_PROMPT),
              -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    // compstui.dll cannot be loaded: -1 (FALSE) with the loader's error, and nothing written.
    winsim_ui_set_compstui_absent(1);
    SetLastError(0);
    EXPECT_EQ(
        DrvDocumentProperties(nullptr, printer_, name, AsDevMode(out), AsDevMode(in), DM_COPY | DM_PROMPT),
        -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(DrvAdvancedDocumentProperties(nullptr, printer_, name, AsDevMode(out), AsDevMode(in)), -1);
    EXPECT_EQ(out, untouched);
    winsim_delete_printer_data(kPrinterName, "Permission");
    SetLastError(0);
    EXPECT_FALSE(PrinterProperties(nullptr, printer_));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    DWORD permission = 0;
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "Permission", nullptr, &permission, sizeof(permission)),
              4);
    EXPECT_EQ(permission, 1u) << "the permission value stays stored";
    winsim_clear_faults();
}

// A library that takes the request but calls no sheet function with it (Wine's) must not cost the user the
// OK: the sheet applies the result itself and reports it when it closes.
TEST_F(Sheets, ConfirmedResultNotCarriedByTheLibraryIsAppliedByTheSheet) {
    FakeComPropSheet::setResultAnswer = 0;
    std::vector<BYTE> out(kExchangedSize, 0xAB);
    DOCUMENTPROPERTYHEADER document = Document(DM_COPY, nullptr, reinterpret_cast<DEVMODEW*>(out.data()));
    PROPSHEETUI_INFO info = Info(&document);
    ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0), 1);
    SheetOf(info)->Working.Private.Copies = 7;
    ConfirmSheet(SheetOf(info));
    Close(info);
    EXPECT_EQ(info.Result, static_cast<ULONG_PTR>(CPSUI_OK));
    EXPECT_EQ(reinterpret_cast<DRVDEVMODE*>(out.data())->Private.Copies, 7);

    winsim_delete_printer_data(kPrinterName, "Private DevMode");
    DEVICEPROPERTYHEADER device = Device();
    info = Info(&device);
    ASSERT_EQ(Step(info, PROPSHEETUI_REASON_INIT, 0, false), 1);
    ConfirmSheet(SheetOf(info));
    Close(info, false);
    EXPECT_EQ(info.Result, static_cast<ULONG_PTR>(CPSUI_OK));
    EXPECT_GT(winsim_get_printer_data(kPrinterName, "Private DevMode", nullptr, nullptr, 0), 0);
}

} // namespace
