// Under Wine: the property sheets of the real ktcfg.dll, shown through Wine's own compstui, comctl32 and
// comdlg32 and driven as a user drives them: the document sheet's two pages edited, the colour chooser
// answered, the About box opened, each confirmed and cancelled; the printer sheet's About page. Every page
// and dialog is written as a PNG into OUTDIR.
//
//     kt_wine_ui_<profile>.exe INF OUTDIR
#include "devmode.h"
#include "printer_data.h"
#include "res/resource.h"
#include "ui_script.h"
#include "wine_spooler.h"

#include <commctrl.h>
#include <compstui.h>
#include <prsht.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using DocumentPropertiesFunction = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, DEVMODEW*, DEVMODEW*, DWORD);
using PrinterPropertiesFunction = BOOL(WINAPI*)(HWND, HANDLE);

// What the About dialogs say for this build, word for word.
#if defined(KT_PROFILE_B) && defined(_WIN64)
const wchar_t kVersionLine[] = TEXT("Version  1.02 (116012.02) <KT-936> <64bit>");
#elif defined(KT_PROFILE_B)
const wchar_t kVersionLine[] = TEXT("Version  1.02 (116014.02) <KT-936> <32bit>");
#elif defined(_WIN64)
const wchar_t kVersionLine[] = TEXT("Version  1.02 (116009.02) <KT-508> <64bit>");
#else
const wchar_t kVersionLine[] = TEXT("Version  1.02 (116016.02) <KT-508> <32bit>");
#endif
const wchar_t kProductTitle[] = TEXT("KT Label Printer Driver");
const wchar_t kLabelPageTab[] = TEXT("用紙(ラベル)");
const wchar_t kDevicePageTab[] = TEXT("デバイスオプション");
const wchar_t kAboutPageTab[] = TEXT("About...");

// The colour chooser's red, green and blue fields (colordlg.h of the Windows SDK; mingw-w64 lacks it).
constexpr int kChooserRed = 706;
constexpr int kChooserGreen = 707;
constexpr int kChooserBlue = 708;

constexpr BYTE kUntouched = 0xA5;
// The colour given to head 1 in the chooser's red, green and blue fields.
constexpr DWORD kChosenColour = 0x00804020;

struct TYPED {
    int Id;
    const wchar_t* Typed;
    const wchar_t* Shown; // after the focus left the field
};

// The tenths fields of the label page read what a user types and show it back in their own form.
constexpr TYPED kTyped[] = {
    {IDC_GAP, TEXT("3"), TEXT("3.0")},
    {IDC_GAP, TEXT("12"), TEXT("12.0")}, // what the record must hold after OK
    {IDC_POSITION_ADJUST, TEXT("-0.5"), TEXT("-0.5")},
    {IDC_CUT_POSITION, TEXT("1000"), TEXT("99.9")},
};

struct UI {
    HMODULE Config = nullptr;
    DocumentPropertiesFunction DocumentProperties = nullptr;
    PrinterPropertiesFunction PrinterProperties = nullptr;
    HANDLE Printer = nullptr;
    std::wstring PrinterName;
    std::wstring Out;
};

std::string Narrow(const std::wstring& text) {
    return wine::Narrow(text);
}

int TabCount(HWND sheet) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    return tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring TabText(HWND sheet, int index) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    wchar_t text[128] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::wstring ItemText(HWND dialog, int id) {
    return ui::Text(GetDlgItem(dialog, id));
}

void CheckText(HWND dialog, int id, const std::wstring& expected, const char* what) {
    const std::wstring shown = ItemText(dialog, id);
    ui::Check(shown == expected,
              std::string(what) + " shows \"" + Narrow(shown) + "\", not \"" + Narrow(expected) + "\"");
}

void Click(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Shot(HWND window, const UI& ui, const wchar_t* name) {
    return ui::Check(ui::Capture(window, ui.Out + TEXT("\\") + name), "cannot capture " + Narrow(name));
}

void Report(const char* scenario, const std::vector<std::string>& failures, int* failed) {
    for (const std::string& f : failures) {
        std::fprintf(stderr, "%s: %s\n", scenario, f.c_str());
    }
    std::printf("%s: %s\n", scenario, failures.empty() ? "ok" : "FAILED");
    *failed += failures.empty() ? 0 : 1;
}

// The steps that open the document sheet and check it holds the label page and then the device page.
void OpenDocumentSheet(std::vector<ui::Step>* steps, HWND* sheet) {
    steps->push_back(
        {"the document sheet opens", [sheet] {
             *sheet = ui::FindPropertySheet();
             if (!*sheet) {
                 return false;
             }
             const int count = TabCount(*sheet);
             ui::Check(count == 2, "the document sheet has " + std::to_string(count) + " pages");
             ui::Check(TabText(*sheet, 0) == kLabelPageTab, "first tab: " + Narrow(TabText(*sheet, 0)));
             ui::Check(TabText(*sheet, 1) == kDevicePageTab, "second tab: " + Narrow(TabText(*sheet, 1)));
             return true;
         }});
}

// Confirmed: the label fields typed, the About box opened and closed, a device option changed, OK.
int DocumentSheetConfirmed(const UI& ui) {
    HWND sheet = nullptr, labelPage = nullptr, devicePage = nullptr;
    std::vector<ui::Step> steps;
    OpenDocumentSheet(&steps, &sheet);
    steps.push_back(
        {"the label page", [&] {
             labelPage = CurrentPage(sheet);
             if (!ui::Check(labelPage && GetDlgItem(labelPage, IDC_GAP), "the label page comes first")) {
                 return true;
             }
             Shot(sheet, ui, TEXT("label-page.png"));
             for (const TYPED& t : kTyped) {
                 ui::Type(GetDlgItem(labelPage, t.Id), t.Typed);
                 // Leaving the field is what makes the page read it.
                 SetFocus(GetDlgItem(labelPage, IDC_COPIES));
                 CheckText(labelPage, t.Id, t.Shown, ("typing \"" + Narrow(t.Typed) + "\"").c_str());
             }
             Shot(sheet, ui, TEXT("label-page-edited.png"));
             Click(labelPage, IDC_ABOUT);
             return true;
         }});
    steps.push_back({"the About box", [&] {
                         HWND box = ui::FindDialogWith(IDC_BOX_OK);
                         if (!box) {
                             return false;
                         }
                         CheckText(box, IDC_BOX_TITLE, kProductTitle, "the About box's title");
                         CheckText(box, IDC_BOX_VERSION, kVersionLine, "the About box's version line");
                         CheckText(box, IDC_SETTINGS_VERSION, TEXT(""), "the About box's settings version");
                         Shot(box, ui, TEXT("about-box.png"));
                         Click(box, IDC_BOX_OK);
                         return true;
                     }});
    steps.push_back({"the About box closes, the device page", [&] {
                         if (ui::FindDialogWith(IDC_BOX_OK)) {
                             return false;
                         }
                         SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
                         devicePage = CurrentPage(sheet);
                         if (!ui::Check(devicePage && GetDlgItem(devicePage, IDC_DEVICE_DEFAULTS),
                                        "the device page comes second")) {
                             return true;
                         }
                         Shot(sheet, ui, TEXT("device-page.png"));
#if defined(KT_PROFILE_B)
                         Click(devicePage, IDC_DITHER_1);
#else
                         Click(devicePage, IDC_HEAD1_COLOR);
#endif
                         return true;
                     }});
#if defined(KT_PROFILE_B)
    steps.push_back({"the dither pattern", [&] {
                         if (IsDlgButtonChecked(devicePage, IDC_DITHER_1) != BST_CHECKED) {
                             return false;
                         }
                         Shot(sheet, ui, TEXT("device-page-changed.png"));
                         PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                         return true;
                     }});
#else
    steps.push_back({"the colour chooser", [&] {
                         HWND chooser = ui::FindDialogWith(kChooserRed);
                         if (!chooser) {
                             return false;
                         }
                         Shot(chooser, ui, TEXT("colour-chooser.png"));
                         ui::Type(GetDlgItem(chooser, kChooserRed), TEXT("32"));
                         ui::Type(GetDlgItem(chooser, kChooserGreen), TEXT("64"));
                         ui::Type(GetDlgItem(chooser, kChooserBlue), TEXT("128"));
                         Click(chooser, IDOK);
                         return true;
                     }});
    steps.push_back({"the colour chooser closes", [&] {
                         if (ui::FindDialogWith(kChooserRed)) {
                             return false;
                         }
                         Shot(sheet, ui, TEXT("device-page-changed.png"));
                         PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                         return true;
                     }});
#endif
    auto out = std::make_unique<DRVDEVMODE>();
    std::memset(out.get(), kUntouched, sizeof(DRVDEVMODE));
    LONG result = -2;
    std::vector<std::string> failures = ui::RunScript(steps, [&] {
        result = ui.DocumentProperties(nullptr, ui.Printer, const_cast<LPWSTR>(ui.PrinterName.c_str()),
                                       &out->Public, nullptr, DM_IN_PROMPT | DM_OUT_BUFFER);
    });
    auto check = [&](bool ok, const std::string& what) {
        if (!ok) {
            failures.push_back(what);
        }
    };
    check(result == CPSUI_OK, "DrvDocumentProperties answered " + std::to_string(result) + " for OK");
    const PRIVDEVMODE& p = out->Private;
    check(p.Signature == kDevModeSignature, "the output record has no signature");
    if (p.Signature == kDevModeSignature && p.CurrentLabel >= 0 && p.CurrentLabel < p.LabelCount) {
        const LABELVALUES& v = p.Labels[p.CurrentLabel].Values;
        check(v.Gap == 120, "Gap is " + std::to_string(v.Gap));
        check(v.PositionAdjust == -5, "PositionAdjust is " + std::to_string(v.PositionAdjust));
        check(v.CutPosition == 999, "CutPosition is " + std::to_string(v.CutPosition));
#if defined(KT_PROFILE_B)
        check(v.Dithering == 1, "Dithering is " + std::to_string(v.Dithering));
#else
        char colour[16];
        std::snprintf(colour, sizeof(colour), "0x%06lX", static_cast<unsigned long>(v.HeadColor1));
        check(v.HeadColor1 == kChosenColour, std::string("HeadColor1 is ") + colour);
#endif
    }
    // Callers keep the exchanged part; what lies after it is not theirs to receive.
    const auto* tail = reinterpret_cast<const BYTE*>(out.get()) + kExchangedSize;
    bool tailUntouched = true;
    for (size_t i = 0; i < sizeof(DRVDEVMODE) - kExchangedSize; ++i) {
        tailUntouched = tailUntouched && tail[i] == kUntouched;
    }
    check(tailUntouched, "the bytes after the exchanged record were written");
    int failed = 0;
    Report("document sheet, OK", failures, &failed);
    return failed;
}

int DocumentSheetCancelled(const UI& ui) {
    HWND sheet = nullptr;
    std::vector<ui::Step> steps;
    OpenDocumentSheet(&steps, &sheet);
    steps.push_back({"an edit, then Cancel", [&] {
                         HWND page = CurrentPage(sheet);
                         ui::Type(GetDlgItem(page, IDC_GAP), TEXT("7"));
                         SetFocus(GetDlgItem(page, IDC_COPIES));
                         CheckText(page, IDC_GAP, TEXT("7.0"), "typing \"7\"");
                         PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                         return true;
                     }});
    auto out = std::make_unique<DRVDEVMODE>();
    std::memset(out.get(), kUntouched, sizeof(DRVDEVMODE));
    LONG result = -2;
    std::vector<std::string> failures = ui::RunScript(steps, [&] {
        result = ui.DocumentProperties(nullptr, ui.Printer, const_cast<LPWSTR>(ui.PrinterName.c_str()),
                                       &out->Public, nullptr, DM_IN_PROMPT | DM_OUT_BUFFER);
    });
    if (result != CPSUI_CANCEL) {
        failures.push_back("DrvDocumentProperties answered " + std::to_string(result) + " for Cancel");
    }
    const auto* bytes = reinterpret_cast<const BYTE*>(out.get());
    for (size_t i = 0; i < sizeof(DRVDEVMODE); ++i) {
        if (bytes[i] != kUntouched) {
            failures.push_back("Cancel wrote the output record at offset " + std::to_string(i));
            break;
        }
    }
    int failed = 0;
    Report("document sheet, Cancel", failures, &failed);
    return failed;
}

// Wine's winspool cannot delete printer data, so a small marker stands in for "no stored settings": the
// sheet's OK replaces it with the device extension, Cancel leaves it.
constexpr BYTE kMarker[4] = {kUntouched, kUntouched, kUntouched, kUntouched};

std::vector<BYTE> StoredSettings(HANDLE printer) {
    DWORD type = 0, needed = 0;
    GetPrinterDataW(printer, const_cast<LPWSTR>(kValuePrivateDevMode), &type, nullptr, 0, &needed);
    std::vector<BYTE> value(needed);
    if (needed == 0 || GetPrinterDataW(printer, const_cast<LPWSTR>(kValuePrivateDevMode), &type, value.data(),
                                       needed, &needed) != ERROR_SUCCESS) {
        value.clear();
    }
    return value;
}

int PrinterSheet(const UI& ui, bool confirm) {
    SetPrinterDataW(ui.Printer, const_cast<LPWSTR>(kValuePrivateDevMode), REG_BINARY,
                    const_cast<BYTE*>(kMarker), sizeof(kMarker));
    const std::vector<BYTE> marker(kMarker, kMarker + sizeof(kMarker));
    const bool before = StoredSettings(ui.Printer) == marker;
    HWND sheet = nullptr;
    std::vector<ui::Step> steps;
    steps.push_back({"the printer sheet opens", [&] {
                         sheet = ui::FindPropertySheet();
                         if (!sheet) {
                             return false;
                         }
                         const int count = TabCount(sheet);
                         ui::Check(count == 1, "the printer sheet has " + std::to_string(count) + " pages");
                         ui::Check(TabText(sheet, 0) == kAboutPageTab,
                                   "the tab: " + Narrow(TabText(sheet, 0)));
                         HWND page = CurrentPage(sheet);
                         CheckText(page, IDC_ABOUT_TITLE, kProductTitle, "the About page's title");
                         CheckText(page, IDC_ABOUT_VERSION, kVersionLine, "the About page's version line");
                         if (confirm) {
                             Shot(sheet, ui, TEXT("about-page.png"));
                         }
                         PostMessageW(sheet, PSM_PRESSBUTTON, confirm ? PSBTN_OK : PSBTN_CANCEL, 0);
                         return true;
                     }});
    BOOL result = -2;
    std::vector<std::string> failures =
        ui::RunScript(steps, [&] { result = ui.PrinterProperties(nullptr, ui.Printer); });
    if (result != (confirm ? TRUE : FALSE)) {
        failures.push_back("PrinterProperties answered " + std::to_string(result));
    }
    if (!before) {
        failures.push_back("the marker could not be stored as \"Private DevMode\" before the sheet opened");
    }
    const std::vector<BYTE> after = StoredSettings(ui.Printer);
    if (confirm && after.size() != sizeof(DEVICEEXT)) {
        failures.push_back("OK stored " + std::to_string(after.size()) + " bytes as \"Private DevMode\"");
    }
    if (!confirm && after != marker) {
        failures.push_back("Cancel wrote \"Private DevMode\"");
    }
    int failed = 0;
    Report(confirm ? "printer sheet, OK" : "printer sheet, Cancel", failures, &failed);
    return failed;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kt_wine_ui INF OUTDIR\n");
        return 2;
    }
    UI ui;
    ui.Out = argv[2];
    wine::Package package;
    std::string why;
    if (!wine::ReadPackage(argv[1], &package, &why)) {
        std::fprintf(stderr, "cannot read the package: %s\n", why.c_str());
        return 1;
    }
    ui.PrinterName = package.Models.front();
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    // The package's files are copied again: both profiles' libraries share their file names in the one
    // driver folder. The printer itself stays when an earlier host added it.
    if (!wine::InstallDriver(package, &why)) {
        std::fprintf(stderr, "cannot install the driver: %s\n", why.c_str());
        return 1;
    }
    if (!OpenPrinterW(&ui.PrinterName[0], &ui.Printer, &access)) {
        if (!wine::InstallPrinter(ui.PrinterName, ui.PrinterName, TEXT("FILE:"), &why) ||
            !OpenPrinterW(&ui.PrinterName[0], &ui.Printer, &access)) {
            std::fprintf(stderr, "cannot add the printer: %s\n", why.c_str());
            return 1;
        }
    }
    wchar_t folder[MAX_PATH];
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof(folder),
                               &needed);
    ui.Config = LoadLibraryW((std::wstring(folder) + TEXT("\\") + package.ConfigFile).c_str());
    if (!ui.Config) {
        std::fprintf(stderr, "cannot load %s\n", Narrow(package.ConfigFile).c_str());
        return 1;
    }
    ui.DocumentProperties = reinterpret_cast<DocumentPropertiesFunction>(
        reinterpret_cast<void*>(GetProcAddress(ui.Config, "DrvDocumentProperties")));
    ui.PrinterProperties = reinterpret_cast<PrinterPropertiesFunction>(
        reinterpret_cast<void*>(GetProcAddress(ui.Config, "PrinterProperties")));
    if (!ui.DocumentProperties || !ui.PrinterProperties) {
        std::fprintf(stderr, "the configuration library lacks its sheet exports\n");
        return 1;
    }
    int failed = 0;
    failed += DocumentSheetConfirmed(ui);
    failed += DocumentSheetCancelled(ui);
    failed += PrinterSheet(ui, true);
    failed += PrinterSheet(ui, false);
    ClosePrinter(ui.Printer);
    FreeLibrary(ui.Config);
    return failed ? 1 : 0;
}
