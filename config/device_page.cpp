// The device options page: the printer-side settings of the current label, and the three buttons that
// send a command to the printer at once. The lists and defaults live in device_options; this file is the
// dialog glue.
#include "device_page.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include "device_options.h"
#include "direct_commands.h"
#include "label_edit.h"
#include "module.h"
#include "pages.h"
#include "res/resource.h"

#include <new>

namespace {

enum ListKind { kSpeedList, kDensityList, kVoltageList };

struct LISTCONTROL {
    int Id;
    ListKind Kind;
    LONG LABELVALUES::*Field; // the index of the chosen entry
};

constexpr LISTCONTROL kListControls[] = {
    {IDC_SPEED, kSpeedList, &LABELVALUES::PrintSpeed},
    {IDC_DENSITY1, kDensityList, &LABELVALUES::Density1},
    {IDC_VOLTAGE1, kVoltageList, &LABELVALUES::HeadVoltage1},
#if defined(KT_PROFILE_A)
    {IDC_DENSITY2, kDensityList, &LABELVALUES::Density2},
    {IDC_VOLTAGE2, kVoltageList, &LABELVALUES::HeadVoltage2},
#endif
};

// Enabled and disabled together with "有効にする".
constexpr int kPrintSettingsControls[] = {
#if defined(KT_PROFILE_A)
    IDC_SPEED,
    IDC_SPEED_CAPTION,
    IDC_SPEED_UNIT,
    IDC_HEAD1_GROUP,
    IDC_DENSITY1,
    IDC_DENSITY1_CAPTION,
    IDC_VOLTAGE1,
    IDC_VOLTAGE1_CAPTION,
    IDC_HEAD2_GROUP,
    IDC_DENSITY2,
    IDC_DENSITY2_CAPTION,
    IDC_VOLTAGE2,
    IDC_VOLTAGE2_CAPTION,
#else
    IDC_SPEED,    IDC_SPEED_CAPTION,    IDC_SPEED_UNIT, IDC_DENSITY1_CAPTION,
    IDC_DENSITY1, IDC_VOLTAGE1_CAPTION, IDC_VOLTAGE1,
#endif
};

struct COMMANDBUTTON {
    int Id;
    DirectCommand Command;
};

constexpr COMMANDBUTTON kCommandButtons[] = {
    {IDC_COMMAND_CUT_LAST, DIRECT_CUT},
    {IDC_COMMAND_FEED, DIRECT_FEED},
    {IDC_COMMAND_TEST_PRINT, DIRECT_TEST_PRINT},
};

LABELVALUES& CurrentValues(DRVDEVMODE* rec) {
    return rec->Private.Labels[CurrentLabelIndex(rec)].Values;
}

template <size_t N> void FillList(HWND list, const WCHAR* const (&entries)[N]) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const int count = OptionCount(entries);
    for (int i = 0; i < count; ++i) {
        const LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries[i]));
        if (at >= 0) {
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
        }
    }
}

void FillLists(HWND page, const DRVDEVMODE* rec) {
    const OPTIONLISTS& lists = GetOptionLists(rec);
    for (const LISTCONTROL& control : kListControls) {
        HWND list = GetDlgItem(page, control.Id);
        switch (control.Kind) {
        case kSpeedList:
            FillList(list, lists.Speeds);
            break;
        case kDensityList:
            FillList(list, lists.Densities);
            break;
        case kVoltageList:
            FillList(list, lists.Voltages);
            break;
        }
    }
}

// The entries are added in order, so an entry's position is its index; an index outside the list
// selects nothing.
void SelectStoredIndexes(HWND page, DRVDEVMODE* rec) {
    const LABELVALUES& values = CurrentValues(rec);
    for (const LISTCONTROL& control : kListControls) {
        SendDlgItemMessageW(page, control.Id, CB_SETCURSEL, static_cast<WPARAM>(values.*control.Field), 0);
    }
}

// The lists are read only here, when the page is left or applied; a list with nothing chosen keeps the
// stored index.
void StoreSelections(HWND page, DRVDEVMODE* rec) {
    LABELVALUES& values = CurrentValues(rec);
    for (const LISTCONTROL& control : kListControls) {
        const LRESULT selected = SendDlgItemMessageW(page, control.Id, CB_GETCURSEL, 0, 0);
        if (selected >= 0) {
            values.*control.Field = static_cast<LONG>(
                SendDlgItemMessageW(page, control.Id, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
        }
    }
}

void Check(HWND page, int id, bool checked) {
    CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Repaint(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}

#if defined(KT_PROFILE_A)

constexpr int kCustomColourCount = 16;
constexpr COLORREF kWhite = 0x00FFFFFF;

// What the user keeps in the colour chooser's custom colours, one list per head, for the life of the
// process.
struct CUSTOMCOLOURS {
    COLORREF Colours[kHeadCount][kCustomColourCount];
    CUSTOMCOLOURS() {
        for (auto& head : Colours) {
            for (COLORREF& colour : head) {
                colour = kWhite;
            }
        }
    }
};

COLORREF* CustomColours(int head) {
    static CUSTOMCOLOURS lists;
    return lists.Colours[head];
}

struct HEADCONTROLS {
    int Button;
    int Swatch;
    DWORD LABELVALUES::*Colour;
};

constexpr HEADCONTROLS kHeads[kHeadCount] = {
    {IDC_HEAD1_COLOR, IDC_HEAD1_SWATCH, &LABELVALUES::HeadColor1},
    {IDC_HEAD2_COLOR, IDC_HEAD2_SWATCH, &LABELVALUES::HeadColor2},
};

// The swatches' brushes, one per head, made when its colour is first asked for and again only when the
// colour changed; a swatch repaints often and must not cost a brush each time.
struct SWATCHBRUSHES {
    HBRUSH Brush[kHeadCount];
    COLORREF Colour[kHeadCount];
};

SWATCHBRUSHES* PageBrushes(HWND page) {
    return reinterpret_cast<SWATCHBRUSHES*>(GetWindowLongPtrW(page, GWLP_USERDATA));
}

HBRUSH SwatchBrush(HWND page, int head, COLORREF colour) {
    SWATCHBRUSHES* brushes = PageBrushes(page);
    if (!brushes) {
        return nullptr;
    }
    if (!brushes->Brush[head] || brushes->Colour[head] != colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        if (!brush) {
            return brushes->Brush[head];
        }
        if (brushes->Brush[head]) {
            DeleteObject(brushes->Brush[head]);
        }
        brushes->Brush[head] = brush;
        brushes->Colour[head] = colour;
    }
    return brushes->Brush[head];
}

void KeepBrushes(HWND page) {
    auto* brushes = new (std::nothrow) SWATCHBRUSHES{};
    SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(brushes));
}

void ForgetBrushes(HWND page) {
    SWATCHBRUSHES* brushes = PageBrushes(page);
    SetWindowLongPtrW(page, GWLP_USERDATA, 0);
    if (!brushes) {
        return;
    }
    for (HBRUSH brush : brushes->Brush) {
        if (brush) {
            DeleteObject(brush);
        }
    }
    delete brushes;
}

INT_PTR OnControlColour(HWND page, DRVDEVMODE* rec, HWND control) {
    const int id = GetDlgCtrlID(control);
    for (int head = 0; head < kHeadCount; ++head) {
        if (id == kHeads[head].Swatch) {
            return reinterpret_cast<INT_PTR>(
                SwatchBrush(page, head, CurrentValues(rec).*kHeads[head].Colour));
        }
    }
    return FALSE;
}

void ChooseHeadColour(HWND page, DRVDEVMODE* rec, int head) {
    DWORD& colour = CurrentValues(rec).*kHeads[head].Colour;
    CHOOSECOLORW chooser = {};
    chooser.lStructSize = sizeof(chooser);
    chooser.hwndOwner = page;
    chooser.rgbResult = colour;
    chooser.lpCustColors = CustomColours(head);
    chooser.Flags = CC_RGBINIT | CC_PREVENTFULLOPEN;
    LibraryActivation activation;
    if (ChooseColorW(&chooser)) {
        colour = chooser.rgbResult;
    }
}

#else

constexpr int kDitherButtons[] = {IDC_DITHER_NONE, IDC_DITHER_1, IDC_DITHER_2, IDC_DITHER_3};
constexpr int kDitherCount = 4;

// The pattern's preview bitmap at its own size, centred in the button.
void DrawDitherPreview(const DRAWITEMSTRUCT* item, LONG dithering) {
    if (dithering < 0 || dithering >= kDitherCount) {
        return;
    }
    HBITMAP bitmap = LoadBitmapW(ThisModule(), MAKEINTRESOURCEW(IDB_DITHER_NONE + dithering));
    if (!bitmap) {
        return;
    }
    BITMAP info = {};
    HDC memory = CreateCompatibleDC(item->hDC);
    if (memory && GetObjectW(bitmap, sizeof(info), &info)) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const LONG x = item->rcItem.left + (item->rcItem.right - item->rcItem.left - info.bmWidth) / 2;
        const LONG y = item->rcItem.top + (item->rcItem.bottom - item->rcItem.top - info.bmHeight) / 2;
        BitBlt(item->hDC, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
    }
    if (memory) {
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
}

#endif

void EnableControl(HWND page, int id, bool enable) {
    EnableWindow(GetDlgItem(page, id), enable ? TRUE : FALSE);
}

void Refresh(HWND page, DRVDEVMODE* rec) {
    const LABELVALUES& values = CurrentValues(rec);
    Check(page, IDC_COMPRESS, values.Compress != 0);
    Check(page, IDC_QUANTITY_ONE, values.QuantityCommand == 0);
    Check(page, IDC_QUANTITY_COUNT, values.QuantityCommand != 0);
    Check(page, IDC_BAND_SPLIT, values.BandSplit != 0);
    Check(page, IDC_PRINT_SETTINGS_ENABLED, values.PrintSettingsEnabled != 0);
    for (int id : kPrintSettingsControls) {
        EnableControl(page, id, values.PrintSettingsEnabled != 0);
    }
#if defined(KT_PROFILE_A)
    for (const HEADCONTROLS& head : kHeads) {
        Repaint(page, head.Swatch);
    }
#else
    for (int pattern = 0; pattern < kDitherCount; ++pattern) {
        Check(page, kDitherButtons[pattern], values.Dithering == pattern);
    }
    Repaint(page, IDC_DITHER_PREVIEW);
#endif
}

void Changed(HWND page, DRVDEVMODE* rec) {
    Refresh(page, rec);
    MarkPageChanged(page);
}

void Toggle(LONG& flag) {
    flag = flag ? 0 : 1;
}

BOOL OnCommand(HWND page, SHEETDATA* sheet, int id, int code) {
    DRVDEVMODE* rec = SheetSettings(sheet);
    LABELVALUES& values = CurrentValues(rec);
    for (const COMMANDBUTTON& button : kCommandButtons) {
        if (id == button.Id) {
            // A printer that cannot take the job has nothing to tell the page.
            SendDirectCommand(SheetPrinterName(sheet), button.Command, nullptr);
            return TRUE;
        }
    }
#if defined(KT_PROFILE_A)
    for (int head = 0; head < kHeadCount; ++head) {
        if (id == kHeads[head].Button) {
            ChooseHeadColour(page, rec, head);
            Changed(page, rec);
            return TRUE;
        }
    }
#else
    for (int pattern = 0; pattern < kDitherCount; ++pattern) {
        if (id == kDitherButtons[pattern]) {
            if (code == BN_CLICKED) {
                values.Dithering = pattern;
                Changed(page, rec);
            }
            return TRUE;
        }
    }
#endif
    switch (id) {
    case IDC_BAND_SPLIT:
    case IDC_COMPRESS:
    case IDC_PRINT_SETTINGS_ENABLED:
        if (code == BN_CLICKED) {
            Toggle(id == IDC_BAND_SPLIT ? values.BandSplit
                   : id == IDC_COMPRESS ? values.Compress
                                        : values.PrintSettingsEnabled);
            Changed(page, rec);
        }
        return TRUE;
    case IDC_QUANTITY_ONE:
    case IDC_QUANTITY_COUNT:
        if (code == BN_CLICKED) {
            values.QuantityCommand = id == IDC_QUANTITY_ONE ? 0 : 1;
            Changed(page, rec);
        }
        return TRUE;
    case IDC_DEVICE_DEFAULTS:
        RestoreDeviceDefaults(values);
        SelectStoredIndexes(page, rec);
        Changed(page, rec);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnNotify(HWND page, SHEETDATA* sheet, const NMHDR* header) {
    DRVDEVMODE* rec = SheetSettings(sheet);
    switch (header->code) {
    case PSN_SETACTIVE:
        SelectStoredIndexes(page, rec);
        Refresh(page, rec);
        return AnswerNotice(page, 0);
    case PSN_KILLACTIVE:
        StoreSelections(page, rec);
        SyncPublicDevMode(sheet);
        return AnswerNotice(page, FALSE);
    case PSN_APPLY:
        StoreSelections(page, rec);
        ConfirmSheet(sheet);
        return AnswerNotice(page, PSNRET_NOERROR);
    case PSN_RESET:
        return AnswerNotice(page, 0);
    default:
        return FALSE;
    }
}

void OnInitDialog(HWND page, LPARAM pageDescription) {
    KeepPageDescription(page, pageDescription);
#if defined(KT_PROFILE_A)
    KeepBrushes(page);
#endif
    SHEETDATA* sheet = PageSheet(page);
    if (!sheet) {
        return;
    }
    DRVDEVMODE* rec = SheetSettings(sheet);
    FillLists(page, rec);
    SelectStoredIndexes(page, rec);
    Refresh(page, rec);
}

} // namespace

INT_PTR CALLBACK DeviceOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page, lParam);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return TRUE;
#if defined(KT_PROFILE_A)
    case WM_DESTROY:
        ForgetBrushes(page);
        return FALSE;
#endif
    default:
        break;
    }
    SHEETDATA* sheet = PageSheet(page);
    if (!sheet) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND:
        return OnCommand(page, sheet, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return lParam ? OnNotify(page, sheet, reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
#if defined(KT_PROFILE_A)
    case WM_CTLCOLORBTN:
        return OnControlColour(page, SheetSettings(sheet), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        return TRUE; // the swatches are their background
#else
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlID == IDC_DITHER_PREVIEW) {
            DrawDitherPreview(item, CurrentValues(SheetSettings(sheet)).Dithering);
        }
        return TRUE;
    }
#endif
    default:
        return FALSE;
    }
}
