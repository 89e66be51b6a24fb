// The document and printer sheets: one sheet record per open sheet, built at INIT, answered at the header,
// result and closing steps. The record lives in a heap of its own so that closing frees everything at once.
#include "sheets.h"

#include <prsht.h>

#include <iterator>

#include "about.h"
#include "device_page.h"
#include "entry_points.h"
#include "label_page.h"
#include "module.h"
#include "os_version.h"
#include "pages.h"
#include "printer_data.h"
#include "res/resource.h"
#include "sheet_data.h"
#include "wstr.h"

namespace {

WCHAR g_empty[1] = {0};

constexpr WCHAR kHelpFileName[] = TEXT("LBLHELP.CHM");
constexpr WCHAR kHelpFolder[] = TEXT("\\3\\");
constexpr WCHAR kExplorer[] = TEXT("\\explorer.exe");
constexpr WCHAR kComPropSheetLibrary[] = TEXT("compstui.dll");
constexpr UINT kBroadcastTimeoutMs = 300;
constexpr WORD kCallerVersion = 0x0100;
constexpr DWORD kFirstItemId = DMPUB_USER;

struct PAGESET {
    WORD TemplateId;
    DLGPROC Procedure;
};

constexpr PAGESET kDocumentPages[] = {
    {IDD_LABEL_PAGE, LabelPageProc},
    {IDD_DEVICE_PAGE, DeviceOptionsPageProc},
};
constexpr PAGESET kPrinterPages[] = {
    {IDD_ABOUT_PAGE, AboutPageProc},
};

// The library calls the sheet function back with the calling convention and pointer-wide result its own
// headers give it, which the exports' declarations do not spell out on every build; these wrappers do.
using SheetFunction = LONG_PTR(CALLBACK*)(PPROPSHEETUI_INFO, LPARAM);
using CommonPropertySheetUI = LONG(WINAPI*)(HWND, SheetFunction, LPARAM, LPDWORD);

LONG_PTR CALLBACK DocumentSheetsCallback(PPROPSHEETUI_INFO info, LPARAM param) {
    return info ? DocumentPropertySheets(info, param) : DrvDocumentPropertySheets(info, param);
}

SHEETDATA* InfoSheet(const PROPSHEETUI_INFO* info);

// The sheet header names the common library's own string for a printer by its resource id. A library that
// copies the title as text (Wine's) reads the id as an address, so the sheet this library opens itself hands
// over the text: the common library's string where it has one, else the printer's name.
LONG_PTR CALLBACK DeviceSheetsCallback(PPROPSHEETUI_INFO info, LPARAM param) {
    if (!info) {
        return ERR_CPSUI_GETLASTERROR;
    }
    const LONG_PTR answer = DevicePropertySheets(info, param);
    auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(param);
    SHEETDATA* sheet =
        info->Reason == PROPSHEETUI_REASON_GET_INFO_HEADER && answer > 0 ? InfoSheet(info) : nullptr;
    if (sheet && header && header->pTitle && IS_INTRESOURCE(header->pTitle)) {
        const UINT id = LOWORD(reinterpret_cast<ULONG_PTR>(header->pTitle));
        if (LoadStringW(GetModuleHandleW(kComPropSheetLibrary), id, sheet->Title, MAX_PATH) <= 0) {
            WStrCopy(sheet->Title, sheet->PrinterName);
        }
        header->pTitle = sheet->Title;
    }
    return answer;
}

void DestroySheet(SHEETDATA* sheet) {
    if (sheet->TableHeap) {
        HeapDestroy(sheet->TableHeap);
    }
    HeapDestroy(sheet->RecordHeap);
}

SHEETDATA* CreateSheet() {
    HANDLE heap = HeapCreate(0, sizeof(SHEETDATA), 0);
    if (!heap) {
        return nullptr;
    }
    auto* sheet = static_cast<SHEETDATA*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(SHEETDATA)));
    if (!sheet) {
        HeapDestroy(heap);
        return nullptr;
    }
    sheet->Self = sheet;
    sheet->Size = sizeof(SHEETDATA);
    sheet->SelfEnd = sheet;
    sheet->RecordHeap = heap;
    sheet->Settings = &sheet->Working;
    return sheet;
}

// The printer's own name, for a caller that gave only the handle.
void NameFromPrinter(SHEETDATA* sheet) {
    DWORD needed = 0;
    GetPrinterW(sheet->Printer, 1, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_1W)) {
        return;
    }
    void* block = HeapAlloc(sheet->RecordHeap, HEAP_ZERO_MEMORY, needed);
    if (!block) {
        return;
    }
    if (GetPrinterW(sheet->Printer, 1, static_cast<BYTE*>(block), needed, &needed)) {
        const auto* info = static_cast<const PRINTER_INFO_1W*>(block);
        if (info->pName) {
            WStrCopy(sheet->PrinterName, info->pName);
        }
    }
    HeapFree(sheet->RecordHeap, 0, block);
}

// On Windows 2000 the shell asks for the per-user defaults through a plain document sheet with the same
// record in and out and no output size; such a sheet edits the user's defaults.
bool IsShellDefaultsRequest(const DOCUMENTPROPERTYHEADER* header) {
    if (GetOsVersionCode() != OSCODE_2000 || !header->pdmIn || header->pdmIn != header->pdmOut ||
        header->cbOut != 0) {
        return false;
    }
    WCHAR image[MAX_PATH] = {};
    WCHAR expected[MAX_PATH] = {};
    const DWORD imageLength = GetModuleFileNameW(nullptr, image, MAX_PATH);
    const UINT folderLength = GetWindowsDirectoryW(expected, MAX_PATH);
    if (imageLength == 0 || imageLength >= MAX_PATH || folderLength == 0 ||
        folderLength + WStrLen(kExplorer) >= MAX_PATH) {
        return false;
    }
    WStrCopy(expected + folderLength, MAX_PATH - folderLength, kExplorer);
    return WStrEqualNoCase(image, expected);
}

void FillPageSet(SHEETDATA* sheet) {
    const PAGESET* set = sheet->SheetKind == SHEET_PRINTER ? kPrinterPages : kDocumentPages;
    const int count = sheet->SheetKind == SHEET_PRINTER ? static_cast<int>(std::size(kPrinterPages))
                                                        : static_cast<int>(std::size(kDocumentPages));
    for (int i = 0; i < count && sheet->PageCount < kMaxPages; ++i) {
        PAGEINFO& page = sheet->Pages[sheet->PageCount++];
        page.Kind = kCustomPage;
        page.DialogProc = set[i].Procedure;
        page.TemplateId = set[i].TemplateId;
    }
    WStrCopy(sheet->HelpFileName, kHelpFileName);
}

// One zero-filled block holds every table, in the order the record lists their bases.
bool AllocateTables(SHEETDATA* sheet) {
    DWORD custom = 0;
    for (int i = 0; i < sheet->PageCount; ++i) {
        custom += sheet->Pages[i].Kind == kCustomPage ? 1 : 0;
    }
    sheet->CapItems = sheet->ReserveItems + custom;
    sheet->CapTypes = sheet->ReserveTypes + custom;
    sheet->CapParams = sheet->ReserveParams + custom;
    sheet->CapTexts = sheet->ReserveTexts;
    sheet->CapTextLength = sheet->TextLength;
    sheet->CapHalftone = sheet->ReserveHalftone;
    sheet->CapCheckBoxes = sheet->ReserveCheckBoxes;
    sheet->CapPushButtons = sheet->ReservePushButtons;
    const size_t sizes[TABLE_COUNT] = {
        sizeof(OPTITEM) * sheet->CapItems,         sizeof(OPTTYPE) * sheet->CapTypes,
        sizeof(OPTPARAM) * sheet->CapParams,       sizeof(WCHAR) * sheet->CapTexts * sheet->CapTextLength,
        sizeof(DEVHTADJDATA) * sheet->CapHalftone, sizeof(EXTCHKBOX) * sheet->CapCheckBoxes,
        sizeof(EXTPUSH) * sheet->CapPushButtons,
    };
    size_t total = 0;
    for (size_t size : sizes) {
        total += size;
    }
    sheet->TableHeap = HeapCreate(0, total ? total : 1, 0);
    if (!sheet->TableHeap) {
        return false;
    }
    auto* block = static_cast<BYTE*>(HeapAlloc(sheet->TableHeap, HEAP_ZERO_MEMORY, total ? total : 1));
    if (!block) {
        return false;
    }
    BYTE* bases[TABLE_COUNT] = {};
    for (int i = 0; i < TABLE_COUNT; ++i) {
        bases[i] = block;
        block += sizes[i];
    }
    sheet->Items = reinterpret_cast<POPTITEM>(bases[TABLE_ITEMS]);
    sheet->Types = reinterpret_cast<POPTTYPE>(bases[TABLE_TYPES]);
    sheet->Params = reinterpret_cast<POPTPARAM>(bases[TABLE_PARAMS]);
    sheet->Texts = reinterpret_cast<WCHAR*>(bases[TABLE_TEXTS]);
    sheet->Halftone = reinterpret_cast<PDEVHTADJDATA>(bases[TABLE_HALFTONE]);
    sheet->CheckBoxes = reinterpret_cast<PEXTCHKBOX>(bases[TABLE_CHECKBOXES]);
    sheet->PushButtons = reinterpret_cast<PEXTPUSH>(bases[TABLE_PUSHBUTTONS]);
    return true;
}

void ComputeHelpPath(SHEETDATA* sheet) {
    DWORD needed = 0;
    WCHAR folder[MAX_PATH] = {};
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof(folder),
                                    &needed)) {
        folder[0] = 0;
    }
    folder[MAX_PATH - 1] = 0;
    size_t at = WStrCopy(sheet->HelpFilePath, folder);
    at += WStrCopy(sheet->HelpFilePath + at, MAX_PATH - at, kHelpFolder);
    WStrCopy(sheet->HelpFilePath + at, MAX_PATH - at, sheet->HelpFileName);
}

// A custom page's one item: a header without type, so the common library has something to hang the page on.
void AddHeaderItem(SHEETDATA* sheet, int page) {
    ITEMDESC desc = {};
    desc.Level = 1;
    desc.Name = MAKEINTRESOURCEW(IDS_CPSUI_NONE);
    desc.Selection = IDI_CPSUI_EMPTY;
    desc.DMPubID = static_cast<BYTE>(kFirstItemId + page);
    AddItem(sheet, desc);
    if (sheet->BuildState != BUILD_OPEN) {
        return;
    }
    for (DWORD i = 0; i < sheet->Used[TABLE_ITEMS]; ++i) {
        if (sheet->Items[i].DMPubID == desc.DMPubID) {
            return;
        }
    }
    sheet->BuildState = BUILD_ITEM_LOST;
}

void FillDescriptor(SHEETDATA* sheet, int page) {
    PAGEDESCRIPTOR& d = sheet->Descriptors[page];
    d.Sheet.cbSize = sizeof(COMPROPSHEETUI);
    d.Sheet.Flags = sheet->UpdatePermission == 1 ? CPSUIF_UPDATE_PERMISSION : 0;
    d.Sheet.hInstCaller = ThisModule();
    d.Sheet.pCallerName = g_empty;
    d.Sheet.UserData = reinterpret_cast<ULONG_PTR>(sheet);
    d.Sheet.pHelpFile = sheet->HelpFilePath;
    d.Sheet.pfnCallBack = nullptr;
    d.Sheet.pOptItem = sheet->Items + sheet->PageFirstItem;
    d.Sheet.cOptItem = static_cast<WORD>(sheet->Used[TABLE_ITEMS] - sheet->PageFirstItem);
    d.Sheet.pDlgPage = &d.Page;
    d.Sheet.cDlgPage = 1;
    d.Sheet.IconID = 0;
    d.Sheet.pOptItemName = g_empty;
    d.Sheet.CallerVersion = kCallerVersion;
    d.Sheet.OptItemVersion = 0;
    d.Page.cbSize = sizeof(DLGPAGE);
    d.Page.Flags = 0;
    d.Page.DlgProc = sheet->Pages[page].DialogProc;
    d.Page.pTabName = nullptr;
    d.Page.IconID = 0;
    d.Page.DlgTemplateID = sheet->Pages[page].TemplateId;
    sheet->PageFirstItem = sheet->Used[TABLE_ITEMS];
}

// Hands one page to the common library; 0 when it was not taken.
HANDLE AddPage(SHEETDATA* sheet, int index) {
    const PAGEINFO& page = sheet->Pages[index];
    if (page.Flags != 0 || GetOsVersionCode() >= OSCODE_XP_FALLBACK) {
        PROPSHEETPAGEW psp = {};
        psp.dwSize = sizeof(psp);
        psp.dwFlags = PSP_DEFAULT;
        if (page.Flags & PAGE_HAS_HELP) {
            psp.dwFlags |= PSP_HASHELP;
        }
        if (page.Flags & PAGE_HAS_ICON) {
            psp.dwFlags |= PSP_USEICONID;
        }
        psp.hInstance = (page.Flags & PAGE_OWN_MODULE) ? page.ResourceModule : ThisModule();
        psp.pszTemplate = MAKEINTRESOURCEW(page.TemplateId);
        psp.pszIcon = MAKEINTRESOURCEW(page.IconId);
        psp.pfnDlgProc = page.DialogProc;
        psp.lParam = reinterpret_cast<LPARAM>(sheet);
        HPROPSHEETPAGE created = nullptr;
        {
            LibraryActivation activation;
            created = CreatePropertySheetPageW(&psp);
        }
        if (!created) {
            return nullptr;
        }
        const LONG_PTR added = sheet->ComPropSheet(sheet->ComPropSheetHandle, CPSFUNC_ADD_HPROPSHEETPAGE,
                                                   reinterpret_cast<LPARAM>(created), 0);
        if (!added) {
            // Not handed over, so still ours.
            DestroyPropertySheetPage(created);
        }
        return reinterpret_cast<HANDLE>(added);
    }
    LONG_PTR result = 0;
    return reinterpret_cast<HANDLE>(sheet->ComPropSheet(
        sheet->ComPropSheetHandle, CPSFUNC_ADD_PCOMPROPSHEETUIW,
        reinterpret_cast<LPARAM>(&sheet->Descriptors[index].Sheet), reinterpret_cast<LPARAM>(&result)));
}

LONG_PTR Fail(SHEETDATA* sheet) {
    if (sheet) {
        DestroySheet(sheet);
    }
    return ERR_CPSUI_GETLASTERROR;
}

// Steps 4 to 9 of opening, common to both sheets.
LONG_PTR FinishOpening(PROPSHEETUI_INFO* info, SHEETDATA* sheet, const DEVMODEW* input, DWORD callerCode) {
    // A sheet can write the printer's stored settings back (the printer sheet's device options, the label
    // list inside Explorer): it does not open over defaults that stand in for values it could not read.
    const DWORD mode = GDM_COPY_WORKING | GDM_STORED_INTACT | (input ? DWORD{GDM_TAKE_INPUT} : DWORD{0});
    if (!GetDriverDevMode(&sheet->Working, input, sheet->Printer, sheet->PrinterName, mode, callerCode)) {
        return Fail(sheet);
    }
    FillPageSet(sheet);
    if (!AllocateTables(sheet)) {
        return Fail(sheet);
    }
    ComputeHelpPath(sheet);
    for (int i = 0; i < sheet->PageCount; ++i) {
        AddHeaderItem(sheet, i);
        if (sheet->BuildState != BUILD_OPEN) {
            return Fail(sheet);
        }
        FillDescriptor(sheet, i);
    }
    sheet->BuildState = BUILD_DONE;
    sheet->ComPropSheet = info->pfnComPropSheet;
    sheet->ComPropSheetHandle = info->hComPropSheet;
    for (int i = 0; i < sheet->PageCount; ++i) {
        sheet->PageHandles[i] = AddPage(sheet, i);
        if (!sheet->PageHandles[i]) {
            return Fail(sheet);
        }
    }
    sheet->CallerHeader = info->lParamInit;
    info->UserData = reinterpret_cast<ULONG_PTR>(sheet);
    info->Result = 0;
    return 1;
}

LONG_PTR OpenDocumentSheet(PROPSHEETUI_INFO* info, const DOCUMENTPROPERTYHEADER* header) {
    if (!info->pfnComPropSheet) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    SHEETDATA* sheet = CreateSheet();
    if (!sheet) {
        return ERR_CPSUI_GETLASTERROR;
    }
    sheet->Printer = header->hPrinter;
    if (header->pszPrinterName && header->pszPrinterName[0]) {
        WStrCopy(sheet->PrinterName, header->pszPrinterName);
    } else {
        NameFromPrinter(sheet);
    }
    const DWORD mode = header->fMode;
    sheet->SheetKind = (mode & DM_ADVANCED)       ? SHEET_ADVANCED
                       : (mode & DM_USER_DEFAULT) ? SHEET_USER_DEFAULT
                                                  : SHEET_DOCUMENT;
    if (sheet->SheetKind == SHEET_DOCUMENT && IsShellDefaultsRequest(header)) {
        sheet->SheetKind = SHEET_USER_DEFAULT;
    }
    sheet->UpdatePermission = (mode & DM_NOPERMISSION) ? 0 : 1;
    sheet->CallerMode = mode;
    return FinishOpening(info, sheet, header->pdmIn, CALLER_DOCUMENT_SHEET);
}

LONG_PTR OpenDeviceSheet(PROPSHEETUI_INFO* info, const DEVICEPROPERTYHEADER* header) {
    if (!info->pfnComPropSheet) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    SHEETDATA* sheet = CreateSheet();
    if (!sheet) {
        return ERR_CPSUI_GETLASTERROR;
    }
    sheet->Printer = header->hPrinter;
    if (header->pszPrinterName && header->pszPrinterName[0]) {
        WStrCopy(sheet->PrinterName, header->pszPrinterName);
    } else {
        // PrinterProperties gives only the handle; the stored settings and the broadcast need the name.
        NameFromPrinter(sheet);
    }
    sheet->SheetKind = SHEET_PRINTER;
    sheet->CallerMode = 0;
    sheet->UpdatePermission = (header->Flags & DPS_NOPERMISSION) ? 0 : 1;
    return FinishOpening(info, sheet, nullptr, CALLER_PRINTER_SHEET);
}

LONG_PTR SheetHeader(SHEETDATA* sheet, LPARAM param) {
    auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(param);
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    header->Flags = PSUIHDRF_NOAPPLYNOW | PSUIHDRF_PROPTITLE;
    header->hInst = ThisModule();
    header->IconID = IDI_CPSUI_PRINTER;
    header->pTitle = sheet->SheetKind == SHEET_PRINTER ? MAKEINTRESOURCEW(IDS_CPSUI_PRINTER) : g_empty;
    return 1;
}

LONG_PTR CloseSheet(PROPSHEETUI_INFO* info, SHEETDATA* sheet) {
    if (sheet->OwnResultApplied) {
        info->Result = static_cast<ULONG_PTR>(sheet->OwnResult);
    }
    info->UserData = 0;
    DestroySheet(sheet);
    return 1;
}

// Except at INIT the record comes back in UserData; anything that fails the check is not touched.
SHEETDATA* InfoSheet(const PROPSHEETUI_INFO* info) {
    auto* sheet = reinterpret_cast<SHEETDATA*>(info->UserData);
    return IsValidSheet(sheet) ? sheet : nullptr;
}

LRESULT ResultOf(LPARAM param) {
    const auto* result = reinterpret_cast<const SETRESULT_INFO*>(param);
    return result ? result->Result : CPSUI_CANCEL;
}

LONG RunSheet(HWND window, SheetFunction sheets, LPARAM header, DWORD* result) {
    LibraryActivation activation;
    HMODULE library = LoadLibraryW(kComPropSheetLibrary);
    if (!library) {
        return ERR_CPSUI_GETLASTERROR;
    }
    auto show = reinterpret_cast<CommonPropertySheetUI>(
        reinterpret_cast<void*>(GetProcAddress(library, "CommonPropertySheetUIW")));
    LONG shown = ERR_CPSUI_GETLASTERROR;
    if (show) {
        shown = show(window, sheets, header, result);
    }
    const DWORD error = GetLastError();
    FreeLibrary(library);
    SetLastError(error);
    return shown;
}

// The sheet record of a step after opening: null, with the error set, for an unknown reason or a record that
// fails its check.
SHEETDATA* StepSheet(PROPSHEETUI_INFO* info) {
    SHEETDATA* sheet = info->Reason <= PROPSHEETUI_REASON_SET_RESULT ? InfoSheet(info) : nullptr;
    if (!sheet) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return sheet;
}

void DocumentResult(SHEETDATA* sheet, const DOCUMENTPROPERTYHEADER* header, LRESULT result) {
    if (header->pdmOut && result == CPSUI_OK && (header->fMode & (DM_UPDATE | DM_COPY))) {
        SyncPublicDevMode(sheet);
        // Callers keep the exchanged part only; the device extension stays with the sheet.
        CopyMemory(header->pdmOut, &sheet->Working, kExchangedSize);
    }
}

void DeviceResult(SHEETDATA* sheet, LRESULT result) {
    if (result == CPSUI_OK) {
        SyncPublicDevMode(sheet);
        SavePrinterDevModeExt(&sheet->Working, sheet->Printer, sheet->PrinterName);
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_DEVMODECHANGE, 0, reinterpret_cast<LPARAM>(sheet->PrinterName),
                            SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &answer);
    }
}

// The steps after opening, the same for both sheets; `apply` carries a result out of the sheet.
template <typename Apply> LONG_PTR SheetStep(PROPSHEETUI_INFO* info, LPARAM param, Apply apply) {
    SHEETDATA* sheet = StepSheet(info);
    if (!sheet) {
        return ERR_CPSUI_GETLASTERROR;
    }
    switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        return SheetHeader(sheet, param);
    case PROPSHEETUI_REASON_DESTROY:
        return CloseSheet(info, sheet);
    default: {
        const LRESULT result = ResultOf(param);
        apply(sheet, result);
        info->Result = static_cast<ULONG_PTR>(result);
        return 1;
    }
    }
}

} // namespace

LONG_PTR DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM param) {
    auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
    if (!header || header->cbSize < sizeof(DOCUMENTPROPERTYHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        return OpenDocumentSheet(info, header);
    }
    return SheetStep(info, param,
                     [header](SHEETDATA* sheet, LRESULT result) { DocumentResult(sheet, header, result); });
}

LONG_PTR DevicePropertySheets(PROPSHEETUI_INFO* info, LPARAM param) {
    auto* header = reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit);
    if (!header || header->cbSize < sizeof(DEVICEPROPERTYHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        return OpenDeviceSheet(info, header);
    }
    return SheetStep(info, param, DeviceResult);
}

void ApplyOwnSheetResult(SHEETDATA* sheet, LRESULT result) {
    if (!IsValidSheet(sheet)) {
        return;
    }
    if (sheet->SheetKind == SHEET_PRINTER) {
        DeviceResult(sheet, result);
    } else if (sheet->CallerHeader) {
        DocumentResult(sheet, reinterpret_cast<const DOCUMENTPROPERTYHEADER*>(sheet->CallerHeader), result);
    }
    sheet->OwnResultApplied = TRUE;
    sheet->OwnResult = result;
}

LONG DocumentPropertiesSheet(HWND window, HANDLE printer, LPWSTR deviceName, DEVMODEW* out, DEVMODEW* in,
                             DWORD mode) {
    if (mode == 0) {
        return static_cast<LONG>(kExchangedSize);
    }
    if (((mode & DM_COPY) && !out) || ((mode & DM_MODIFY) && !in)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof(header);
    header.hPrinter = printer;
    header.pszPrinterName = deviceName;
    header.pdmIn = in;
    header.pdmOut = out;
    header.cbOut = 0;
    header.fMode = mode;
    if (!(mode & DM_PROMPT)) {
        return DocumentPropertyService(&header);
    }
    DWORD result = CPSUI_CANCEL;
    if (RunSheet(window, DocumentSheetsCallback, reinterpret_cast<LPARAM>(&header), &result) < 0) {
        return -1;
    }
    return static_cast<LONG>(result);
}

BOOL OpenPrinterSheet(HWND window, HANDLE printer) {
    DEVICEPROPERTYHEADER header = {};
    header.cbSize = sizeof(header);
    header.Flags = 0;
    header.hPrinter = printer;
    header.pszPrinterName = nullptr;
    DWORD allowed = 1;
    if (SetPrinterDataW(printer, const_cast<LPWSTR>(kValuePermission), REG_DWORD,
                        reinterpret_cast<BYTE*>(&allowed), sizeof(allowed)) != ERROR_SUCCESS) {
        header.Flags |= DPS_NOPERMISSION;
    }
    DWORD result = CPSUI_CANCEL;
    if (RunSheet(window, DeviceSheetsCallback, reinterpret_cast<LPARAM>(&header), &result) < 0) {
        return FALSE;
    }
    return static_cast<LONG>(result) > 0 ? TRUE : FALSE;
}
