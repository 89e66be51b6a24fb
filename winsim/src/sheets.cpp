// Property sheet pages and the stand-in common property sheet library ("compstui.dll").
// CommonPropertySheetUIW calls the caller's sheet function as the real library does: INIT (pages are added
// then through the service function), GET_INFO_HEADER, the sheet opens with its first page created and
// activated (the others are created when first selected), the host's script plays the user, OK sends the
// current page its leave notice and every created page its apply (a page's CPSFUNC_SET_RESULT reaches the
// sheet function as SET_RESULT), Cancel sends each its reset; the pages are destroyed, then DESTROY, and
// *pResult is the Result the sheet function left. Every step is logged for the host (winsim_ui_sheet_log).
#include "ui.h"

#include "reset.h"
#include "text.h"

#include <compstui.h>
#include <prsht.h>
#include <windows.h>
#include <winsim_host.h>

#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace winsim::ui {
namespace {

// A page made by CreatePropertySheetPageW: the caller's description as passed (dwSize bytes), kept until the
// page is destroyed, and handed to the page's dialog procedure as the lParam of WM_INITDIALOG.
struct PageObject {
    std::vector<uint8_t> description;
    PROPSHEETPAGEW* page() { return reinterpret_cast<PROPSHEETPAGEW*>(description.data()); }
};
std::map<HPROPSHEETPAGE, std::unique_ptr<PageObject>> pageObjects;

struct SheetPage {
    HANDLE handle = nullptr;          // what the service function answered for it
    HPROPSHEETPAGE object = nullptr;  // a native page handed over
    std::vector<uint8_t> description; // or a page made from a DLGPAGE: description + PSPINFO
    HWND window = nullptr;
};

struct Sheet {
    HANDLE handle = nullptr;
    PFNPROPSHEETUI function = nullptr;
    PROPSHEETUI_INFO info = {};
    std::vector<SheetPage> pages;
    HWND frame = nullptr;
    int current = -1;
    bool changed = false;
    bool closed = false;
    bool confirmed = false;
    WORD headerFlags = 0;
    std::u16string title;
};

std::map<HANDLE, Sheet*> sheets;
ULONG_PTR nextSheetHandle = 0x43440000;
std::deque<std::pair<winsim_ui_script, void*>> sheetScripts;
std::vector<std::string> sheetLog;

void log(std::string line) {
    sheetLog.push_back(std::move(line));
}

const char* reason_name(WORD reason) {
    static const char* const kNames[] = {"INIT",       "GET_INFO_HEADER", "DESTROY",
                                         "SET_RESULT", "GET_ICON",        "BEFORE_INIT"};
    return reason < sizeof(kNames) / sizeof(kNames[0]) ? kNames[reason] : "?";
}

LONG_PTR call(Sheet& sheet, WORD reason, LPARAM param) {
    sheet.info.Reason = reason;
    const LONG_PTR result = sheet.function(&sheet.info, param);
    log(std::string("reason ") + reason_name(reason) + " -> " + std::to_string(result));
    return result;
}

Sheet* sheet_of_frame(HWND frame) {
    Window* w = find(frame, false);
    return w && w->kind == Kind::Frame ? reinterpret_cast<Sheet*>(w->userData) : nullptr;
}

LRESULT notify(HWND page, HWND frame, UINT code, LPARAM lParam) {
    PSHNOTIFY notice = {};
    notice.hdr.hwndFrom = frame;
    notice.hdr.idFrom = 0;
    notice.hdr.code = code;
    notice.lParam = lParam;
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
    return find(page, false) ? GetWindowLongPtrW(page, DWLP_MSGRESULT) : 0;
}

const char* notice_name(UINT code) {
    switch (code) {
    case PSN_SETACTIVE:
        return "SETACTIVE";
    case PSN_KILLACTIVE:
        return "KILLACTIVE";
    case PSN_APPLY:
        return "APPLY";
    case PSN_RESET:
        return "RESET";
    case PSN_QUERYCANCEL:
        return "QUERYCANCEL";
    default:
        return "?";
    }
}

// Logged as it is sent, so that what the page does meanwhile comes after it in the log.
LRESULT notify_page(Sheet& sheet, int index, UINT code, LPARAM lParam = 0) {
    const std::string line = "page " + std::to_string(index) + " " + notice_name(code);
    log(line);
    const LRESULT answer = notify(sheet.pages[static_cast<size_t>(index)].window, sheet.frame, code, lParam);
    if (answer)
        log(line + " answered " + std::to_string(answer));
    return answer;
}

bool create_page(Sheet& sheet, int index) {
    SheetPage& entry = sheet.pages[static_cast<size_t>(index)];
    if (entry.window)
        return true;
    PROPSHEETPAGEW* psp = entry.object ? pageObjects[entry.object]->page()
                                       : reinterpret_cast<PROPSHEETPAGEW*>(entry.description.data());
    if ((psp->dwFlags & PSP_USECALLBACK) && psp->pfnCallback &&
        !psp->pfnCallback(nullptr, PSPCB_CREATE, psp)) {
        log("page " + std::to_string(index) + " refused creation");
        return false;
    }
    HWND window = nullptr;
    if (psp->dwFlags & PSP_DLGINDIRECT) {
        // The template's size is not given; it is read up to its last control.
        window = create_dialog(psp->hInstance, psp->pResource, 0x10000, sheet.frame, psp->pfnDlgProc,
                               reinterpret_cast<LPARAM>(psp), DialogUse::Page);
    } else {
        window = create_dialog(psp->hInstance, psp->pszTemplate, sheet.frame, psp->pfnDlgProc,
                               reinterpret_cast<LPARAM>(psp), DialogUse::Page);
    }
    // The vector may have moved while the page initialised (a page added meanwhile); look it up again.
    SheetPage& made = sheet.pages[static_cast<size_t>(index)];
    made.window = window;
    log("page " + std::to_string(index) + (window ? " created" : " could not be created"));
    return window != nullptr;
}

bool select_page(Sheet& sheet, int index) {
    if (index < 0 || index >= static_cast<int>(sheet.pages.size()))
        return false;
    if (index == sheet.current)
        return true;
    if (sheet.current >= 0) {
        // A page that finds its fields wrong keeps the user on it.
        if (notify_page(sheet, sheet.current, PSN_KILLACTIVE) != FALSE)
            return false;
    }
    if (!create_page(sheet, index))
        return false;
    if (sheet.current >= 0)
        ShowWindow(sheet.pages[static_cast<size_t>(sheet.current)].window, SW_HIDE);
    sheet.current = index;
    ShowWindow(sheet.pages[static_cast<size_t>(index)].window, SW_SHOW);
    notify_page(sheet, index, PSN_SETACTIVE);
    return true;
}

bool press(Sheet& sheet, int button) {
    if (sheet.closed)
        return true;
    if (button == IDOK) {
        if (sheet.current >= 0 && notify_page(sheet, sheet.current, PSN_KILLACTIVE) != FALSE)
            return false;
        for (size_t i = 0; i < sheet.pages.size(); ++i) {
            if (!sheet.pages[i].window)
                continue;
            // lParam TRUE: the sheet closes after this apply (OK rather than Apply).
            const LRESULT answer = notify_page(sheet, static_cast<int>(i), PSN_APPLY, TRUE);
            if (answer == PSNRET_INVALID || answer == PSNRET_INVALID_NOCHANGEPAGE)
                return false;
        }
        sheet.confirmed = true;
    } else {
        if (sheet.current >= 0 && notify_page(sheet, sheet.current, PSN_QUERYCANCEL) != FALSE)
            return false;
        for (size_t i = 0; i < sheet.pages.size(); ++i) {
            if (sheet.pages[i].window)
                notify_page(sheet, static_cast<int>(i), PSN_RESET, TRUE);
        }
    }
    sheet.closed = true;
    return true;
}

LRESULT frame_proc(HWND frame, UINT message, WPARAM wParam, LPARAM) {
    Sheet* sheet = sheet_of_frame(frame);
    if (!sheet)
        return 0;
    switch (message) {
    case PSM_CHANGED:
        sheet->changed = true;
        log("changed");
        return TRUE;
    case PSM_UNCHANGED:
        return TRUE;
    case PSM_SETCURSEL:
        return select_page(*sheet, static_cast<int>(wParam));
    case PSM_GETCURRENTPAGEHWND:
        return sheet->current >= 0
                   ? reinterpret_cast<LRESULT>(sheet->pages[static_cast<size_t>(sheet->current)].window)
                   : 0;
    default:
        return 0;
    }
}

HANDLE add_page(Sheet& sheet, SheetPage page) {
    if (sheet.pages.size() >= MAXPROPPAGES)
        return nullptr;
    page.handle = reinterpret_cast<HANDLE>(nextSheetHandle += 0x10);
    sheet.pages.push_back(std::move(page));
    return sheet.pages.back().handle;
}

LONG_PTR CALLBACK service(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
    auto it = sheets.find(hComPropSheet);
    if (it == sheets.end()) {
        log("service " + std::to_string(function) + " on an unknown sheet");
        return 0;
    }
    Sheet& sheet = *it->second;
    switch (function) {
    case CPSFUNC_ADD_HPROPSHEETPAGE: {
        auto object = reinterpret_cast<HPROPSHEETPAGE>(lParam1);
        if (!pageObjects.count(object)) {
            log("add page: not a page");
            return 0;
        }
        SheetPage page;
        page.object = object;
        HANDLE handle = add_page(sheet, std::move(page));
        log("add page " + std::to_string(sheet.pages.size() - 1));
        return reinterpret_cast<LONG_PTR>(handle);
    }
    case CPSFUNC_ADD_PCOMPROPSHEETUIW: {
        const auto* ui = reinterpret_cast<const COMPROPSHEETUI*>(lParam1);
        if (!ui || ui->cbSize < sizeof(COMPROPSHEETUI) || !ui->pDlgPage || ui->cDlgPage == 0) {
            if (lParam2)
                *reinterpret_cast<LONG*>(lParam2) = ERR_CPSUI_GETLASTERROR;
            return 0;
        }
        HANDLE first = nullptr;
        for (WORD i = 0; i < ui->cDlgPage; ++i) {
            const DLGPAGE& dp = ui->pDlgPage[i];
            // The page's description carries the caller's UserData as its lParam, and the library's own
            // record of the page (PSPINFO) right behind it.
            SheetPage page;
            page.description.resize(sizeof(PROPSHEETPAGEW) + sizeof(PSPINFO));
            auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(page.description.data());
            psp->dwSize = sizeof(PROPSHEETPAGEW);
            psp->hInstance = ui->hInstCaller;
            psp->pszTemplate = MAKEINTRESOURCEW(dp.DlgTemplateID);
            psp->pfnDlgProc = dp.DlgProc;
            psp->lParam = static_cast<LPARAM>(ui->UserData);
            HANDLE handle = add_page(sheet, std::move(page));
            auto* info =
                reinterpret_cast<PSPINFO*>(sheet.pages.back().description.data() + sizeof(PROPSHEETPAGEW));
            info->cbSize = sizeof(PSPINFO);
            info->hComPropSheet = hComPropSheet;
            info->hCPSUIPage = handle;
            info->pfnComPropSheet = service;
            first = first ? first : handle;
            log("add descriptor page " + std::to_string(sheet.pages.size() - 1));
        }
        if (lParam2)
            *reinterpret_cast<LONG*>(lParam2) = ui->cDlgPage;
        return reinterpret_cast<LONG_PTR>(first);
    }
    case CPSFUNC_SET_RESULT: {
        bool known = reinterpret_cast<HANDLE>(lParam1) == sheet.handle;
        for (const SheetPage& page : sheet.pages)
            known = known || page.handle == reinterpret_cast<HANDLE>(lParam1);
        if (!known) {
            log("set result: unknown handle");
            return 0;
        }
        SETRESULT_INFO result = {};
        result.cbSize = sizeof(result);
        result.hSetResult = reinterpret_cast<HANDLE>(lParam1);
        result.Result = static_cast<LRESULT>(lParam2);
        call(sheet, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result));
        return 1;
    }
    case CPSFUNC_GET_PAGECOUNT:
        return static_cast<LONG_PTR>(sheet.pages.size());
    default:
        log("service " + std::to_string(function) + " not offered");
        return 0;
    }
}

void close_sheet(Sheet& sheet) {
    for (size_t i = 0; i < sheet.pages.size(); ++i) {
        if (sheet.pages[i].window && IsWindow(sheet.pages[i].window))
            DestroyWindow(sheet.pages[i].window);
        sheet.pages[i].window = nullptr;
        if (sheet.pages[i].object)
            DestroyPropertySheetPage(sheet.pages[i].object);
    }
    if (sheet.frame)
        DestroyWindow(sheet.frame);
    sheet.frame = nullptr;
}

} // namespace

void reset_sheets() {
    pageObjects.clear();
    sheetScripts.clear();
    sheetLog.clear();
}

} // namespace winsim::ui

using namespace winsim::ui;

extern "C" {

HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW page) {
    if (!page || page->dwSize < offsetof(PROPSHEETPAGEW, pszHeaderTitle)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<PageObject>();
    object->description.resize(page->dwSize > sizeof(PROPSHEETPAGEW) ? page->dwSize : sizeof(PROPSHEETPAGEW));
    std::memcpy(object->description.data(), page, page->dwSize);
    auto* handle = reinterpret_cast<HPROPSHEETPAGE>(object.get());
    PROPSHEETPAGEW* copy = object->page();
    pageObjects[handle] = std::move(object);
    if ((copy->dwFlags & PSP_USECALLBACK) && copy->pfnCallback)
        copy->pfnCallback(nullptr, PSPCB_ADDREF, copy);
    return handle;
}

WINBOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE page) {
    auto it = pageObjects.find(page);
    if (it == pageObjects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    PROPSHEETPAGEW* copy = it->second->page();
    if ((copy->dwFlags & PSP_USECALLBACK) && copy->pfnCallback)
        copy->pfnCallback(nullptr, PSPCB_RELEASE, copy);
    pageObjects.erase(page);
    return TRUE;
}

LONG APIENTRY CommonPropertySheetUIW(HWND hWndOwner, PFNPROPSHEETUI pfnPropSheetUI, LPARAM lParam,
                                     LPDWORD pResult) {
    if (!pfnPropSheetUI) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    Sheet sheet;
    sheet.handle = reinterpret_cast<HANDLE>(nextSheetHandle += 0x10);
    sheet.function = pfnPropSheetUI;
    sheet.info.cbSize = sizeof(PROPSHEETUI_INFO);
    sheet.info.Version = PROPSHEETUI_INFO_VERSION;
    sheet.info.Flags = PSUIINFO_UNICODE;
    sheet.info.hComPropSheet = sheet.handle;
    sheet.info.pfnComPropSheet = service;
    sheet.info.lParamInit = lParam;
    sheets[sheet.handle] = &sheet;
    log("open");

    LONG result = ERR_CPSUI_GETLASTERROR;
    PROPSHEETUI_INFO_HEADER header = {};
    header.cbSize = sizeof(header);
    header.hWndParent = hWndOwner;
    if (call(sheet, PROPSHEETUI_REASON_INIT, lParam) > 0 &&
        call(sheet, PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header)) > 0) {
        if (sheet.pages.empty()) {
            result = ERR_CPSUI_NO_PROPSHEETPAGE;
        } else {
            sheet.headerFlags = header.Flags;
            // A title below 64K names one of the library's own strings (IDS_CPSUI_*), kept as "#<id>".
            if (header.pTitle && IS_INTRESOURCE(header.pTitle))
                sheet.title =
                    winsim::from_utf8("#" + std::to_string(reinterpret_cast<ULONG_PTR>(header.pTitle)));
            else if (header.pTitle)
                sheet.title = std::u16string(winsim::view(header.pTitle));
            sheet.frame =
                create_frame(hWndOwner, sheet.title, frame_proc, reinterpret_cast<LONG_PTR>(&sheet));
            if (hWndOwner && IsWindow(hWndOwner))
                EnableWindow(hWndOwner, FALSE);
            if (select_page(sheet, 0)) {
                pump();
                if (!sheetScripts.empty()) {
                    auto script = sheetScripts.front();
                    sheetScripts.pop_front();
                    script.first(sheet.frame, script.second);
                    pump();
                }
                // Nobody pressed anything: the user closes the sheet, which cancels it.
                if (!sheet.closed && !press(sheet, IDCANCEL))
                    sheet.closed = true;
                result = sheet.confirmed ? CPSUI_OK : CPSUI_CANCEL;
            } else {
                SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
                result = ERR_CPSUI_GETLASTERROR;
            }
            if (hWndOwner && IsWindow(hWndOwner))
                EnableWindow(hWndOwner, TRUE);
        }
    }
    close_sheet(sheet);
    call(sheet, PROPSHEETUI_REASON_DESTROY, result >= 0 && sheet.confirmed ? TRUE : FALSE);
    // Pages added but never shown still belong to the library; it destroys them with the sheet.
    sheets.erase(sheet.handle);
    log("closed " + std::to_string(result));
    if (pResult)
        *pResult = static_cast<DWORD>(sheet.info.Result);
    return result;
}

ULONG_PTR APIENTRY GetCPSUIUserData(HWND) {
    return 0;
}

WINBOOL APIENTRY SetCPSUIUserData(HWND, ULONG_PTR) {
    return FALSE;
}

void winsim_ui_on_sheet(winsim_ui_script script, void* context) {
    sheetScripts.emplace_back(script, context);
}

int winsim_ui_sheet_page_count(void* frame) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    return sheet ? static_cast<int>(sheet->pages.size()) : -1;
}

void* winsim_ui_sheet_page(void* frame, int index) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    if (!sheet || index < 0 || index >= static_cast<int>(sheet->pages.size()))
        return nullptr;
    return sheet->pages[static_cast<size_t>(index)].window;
}

int winsim_ui_sheet_current(void* frame) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    return sheet ? sheet->current : -1;
}

int winsim_ui_sheet_select(void* frame, int index) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    if (!sheet)
        return 0;
    const bool selected = select_page(*sheet, index);
    pump();
    return selected;
}

int winsim_ui_sheet_press(void* frame, int button) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    if (!sheet || (button != IDOK && button != IDCANCEL))
        return 0;
    const bool closed = press(*sheet, button);
    pump();
    return closed;
}

int winsim_ui_sheet_changed(void* frame) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    return sheet && sheet->changed;
}

int winsim_ui_sheet_header(void* frame, uint32_t* flags, char* title, size_t title_size) {
    Sheet* sheet = sheet_of_frame(static_cast<HWND>(frame));
    if (!sheet)
        return 0;
    if (flags)
        *flags = sheet->headerFlags;
    winsim::copy_out(winsim::to_utf8(sheet->title), title, title_size);
    return 1;
}

uint32_t winsim_ui_sheet_page_objects(void) {
    return static_cast<uint32_t>(pageObjects.size());
}

size_t winsim_ui_sheet_log_size(void) {
    return sheetLog.size();
}

int winsim_ui_sheet_log_line(size_t index, char* buf, size_t size) {
    if (index >= sheetLog.size() || !buf || size == 0)
        return 0;
    winsim::copy_out(sheetLog[index], buf, size);
    return 1;
}

} // extern "C"
