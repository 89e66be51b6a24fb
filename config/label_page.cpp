// The label page: moves the current label between the working settings and the dialog's controls, and
// runs the label list's create, delete, import and export. What the values mean and how they are held
// to their ranges lives in label_edit; this file is the dialog glue.
#include "label_page.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>
#include <winspool.h>

#include <memory>

#include "about.h"
#include "label_edit.h"
#include "label_file.h"
#include "label_store.h"
#include "module.h"
#include "pages.h"
#include "printer_data.h"
#include "res/resource.h"
#include "wstr.h"

namespace {

// Outside Explorer (an application's print dialog) the list is not the printer's to change: sizes are
// fixed and nothing is stored. Process-wide, as every sheet of the process runs in the same host.
bool gLabelStoreReadOnly = false;

constexpr DWORD kHostPathChars = 520;
constexpr WCHAR kExplorerImage[] = TEXT("Explorer.exe");

bool RunsInExplorer() {
    WCHAR path[kHostPathChars] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, kHostPathChars);
    path[n < kHostPathChars ? n : kHostPathChars - 1] = 0;
    const size_t length = WStrLen(path);
    const size_t tail = WStrLen(kExplorerImage);
    return length >= tail && WStrEqualNoCase(path + length - tail, kExplorerImage);
}

void RunExplorerTest() {
    gLabelStoreReadOnly = !RunsInExplorer();
}

struct FIELDCONTROL {
    int Id;
    int TextLimit;
};

// Indexed by LabelField.
constexpr FIELDCONTROL kFieldControls[kLabelFieldCount] = {
    {IDC_WIDTH, 3},        {IDC_LENGTH, 3},    {IDC_GAP, 4},        {IDC_POSITION_ADJUST, 5},
    {IDC_CUT_POSITION, 5}, {IDC_CUT_COUNT, 2}, {IDC_CUT_ADJUST, 2}, {IDC_COPIES, 4},
#if defined(KT_PROFILE_A)
    {IDC_XADJUST1, 5},     {IDC_XADJUST2, 5},
#else
    {IDC_XADJUST1, 4},
#endif
};

// Enabled only while the driver expands the image itself.
constexpr int kXAdjustControls[] = {
    IDC_XADJUST1_CAPTION, IDC_XADJUST1, IDC_XADJUST1_UNIT,
#if defined(KT_PROFILE_A)
    IDC_XADJUST2_CAPTION, IDC_XADJUST2, IDC_XADJUST2_UNIT,
#endif
};

// Indexed by rotation 0..3.
constexpr int kRotationButtons[] = {IDC_ROTATION_0, IDC_ROTATION_90, IDC_ROTATION_180, IDC_ROTATION_270};

// What only Explorer may do to the list.
constexpr int kListButtons[] = {IDC_LABEL_NEW, IDC_LABEL_DELETE, IDC_LABEL_IMPORT, IDC_LABEL_EXPORT};

constexpr WCHAR kCaptionNew[] = TEXT("用紙情報新規");
constexpr WCHAR kCaptionDelete[] = TEXT("用紙情報削除");
constexpr WCHAR kListFull[] = TEXT("これ以上、用紙情報は作成できません !!");
constexpr WCHAR kStandardUndeletable[] = TEXT("標準用紙情報は削除できません !!");
constexpr WCHAR kUserDefinedUndeletable[] = TEXT("ユーザー定義用紙情報は削除できません !!");
constexpr WCHAR kDeleteQuestion[] = TEXT("の用紙情報を削除しますか？");

constexpr int kListNameChars = 64; // at most 63 shown
constexpr DWORD kFileNameChars = 260;
constexpr WCHAR kCsvFilter[] = TEXT("Csv Files (*.csv)\0*.csv\0");
constexpr WCHAR kCsvExtension[] = TEXT("csv");

bool IsFieldControl(int id) {
    for (const FIELDCONTROL& field : kFieldControls) {
        if (field.Id == id) {
            return true;
        }
    }
    return false;
}

void EnableControl(HWND page, int id, bool enable) {
    EnableWindow(GetDlgItem(page, id), enable ? TRUE : FALSE);
}

void FillPage(HWND page, const DRVDEVMODE* rec) {
    const LABELPAGEVIEW view = ViewCurrentLabel(rec, gLabelStoreReadOnly);
    for (int i = 0; i < kLabelFieldCount; ++i) {
        SetDlgItemTextW(page, kFieldControls[i].Id, view.Text[i]);
    }
    EnableControl(page, IDC_WIDTH, view.SizeEnabled);
    EnableControl(page, IDC_LENGTH, view.SizeEnabled);
    CheckDlgButton(page, IDC_CUT_LAST, view.CutLast ? BST_CHECKED : BST_UNCHECKED);
    if (view.Rotation >= 0 && view.Rotation < 4) {
        for (int r = 0; r < 4; ++r) {
            CheckDlgButton(page, kRotationButtons[r], r == view.Rotation ? BST_CHECKED : BST_UNCHECKED);
        }
        // Icons from the module's resources are shared and never destroyed.
        HICON icon = LoadIconW(ThisModule(), MAKEINTRESOURCEW(IDI_ROTATION_0 + view.Rotation));
        SendDlgItemMessageW(page, IDC_ROTATION_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    CheckDlgButton(page, IDC_DRIVER_EXPAND, view.DriverExpand ? BST_CHECKED : BST_UNCHECKED);
    EnableControl(page, IDC_DRIVER_EXPAND, view.DriverExpandEnabled);
    for (int id : kXAdjustControls) {
        EnableControl(page, id, view.XAdjustEnabled);
    }
}

void ReadPage(HWND page, DRVDEVMODE* rec) {
    // The whole readable length of every field; what lies beyond it is ignored.
    auto texts = std::make_unique<WCHAR[][kFieldReadChars + 1]>(kLabelFieldCount);
    const WCHAR* fields[kLabelFieldCount];
    for (int i = 0; i < kLabelFieldCount; ++i) {
        texts[i][0] = 0;
        GetDlgItemTextW(page, kFieldControls[i].Id, texts[i], kFieldReadChars + 1);
        fields[i] = texts[i];
    }
    ReadCurrentLabel(rec, fields);
}

void AddListEntry(HWND list, int index, const DRVDEVMODE* rec) {
    WCHAR name[kListNameChars] = {};
    GetLabelName(rec, index, name, kListNameChars);
    const LRESULT at =
        SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
    if (at >= 0) {
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at),
                     static_cast<LPARAM>(GetLabelId(rec, index)));
    }
}

// The list as the settings hold it, with the label of PaperId (or the standard label) current.
void FillList(HWND page, DRVDEVMODE* rec) {
    HWND list = GetDlgItem(page, IDC_LABEL_LIST);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const LONG count = GetLabelCount(rec);
    for (int i = 0; i < count; ++i) {
        AddListEntry(list, i, rec);
    }
    int selected = FindLabel(rec, rec->Private.PaperId);
    if (selected < 0) {
        selected = 0;
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    rec->Private.CurrentLabel = selected;
}

void PrepareFields(HWND page) {
    for (const FIELDCONTROL& field : kFieldControls) {
        SendDlgItemMessageW(page, field.Id, EM_LIMITTEXT, static_cast<WPARAM>(field.TextLimit), 0);
        EnableControl(page, field.Id, true);
    }
}

void Refill(HWND page, const DRVDEVMODE* rec) {
    FillPage(page, rec);
    MarkPageChanged(page);
}

void SelectListEntry(HWND page, DRVDEVMODE* rec, int index) {
    SendDlgItemMessageW(page, IDC_LABEL_LIST, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SelectLabelIndex(rec, index);
}

// The new label name dialog: its parameter is the record, which OK extends by one label.
struct NEWLABELDIALOG {
    DRVDEVMODE* Settings;
    int Created;
};

INT_PTR CALLBACK NewLabelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SendDlgItemMessageW(dialog, IDC_NEW_NAME, EM_LIMITTEXT, kNewLabelNameChars, 0);
        SetFocus(GetDlgItem(dialog, IDC_NEW_NAME));
        return FALSE; // the focus is set
    case WM_COMMAND: {
        auto* state = reinterpret_cast<NEWLABELDIALOG*>(GetWindowLongPtrW(dialog, DWLP_USER));
        const int id = LOWORD(wParam);
        if (id == IDC_NEW_OK || id == IDOK) {
            WCHAR name[kNewLabelNameChars + 1] = {};
            GetDlgItemTextW(dialog, IDC_NEW_NAME, name, kNewLabelNameChars + 1);
            state->Created = CreateLabel(state->Settings, name);
            EndDialog(dialog, state->Created >= 0 ? IDC_NEW_OK : IDC_NEW_CANCEL);
            return TRUE;
        }
        if (id == IDC_NEW_CANCEL || id == IDCANCEL) {
            EndDialog(dialog, IDC_NEW_CANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

void CreateNewLabel(HWND page, DRVDEVMODE* rec) {
    ReadPage(page, rec);
    if (GetLabelCount(rec) >= kMaxLabels) {
        MessageBoxW(page, kListFull, kCaptionNew, MB_ICONHAND);
        return;
    }
    NEWLABELDIALOG state = {rec, -1};
    INT_PTR answer;
    {
        LibraryActivation activation;
        answer = DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_NEW_LABEL), page, NewLabelProc,
                                 reinterpret_cast<LPARAM>(&state));
    }
    if (answer != IDC_NEW_OK || state.Created < 0) {
        return;
    }
    HWND list = GetDlgItem(page, IDC_LABEL_LIST);
    AddListEntry(list, state.Created, rec);
    SelectListEntry(page, rec, state.Created);
    Refill(page, rec);
}

void DeleteLabel(HWND page, DRVDEVMODE* rec) {
    ReadPage(page, rec);
    switch (CheckDeleteCurrent(rec)) {
    case DeleteRefusal::StandardLabel:
        MessageBoxW(page, kStandardUndeletable, kCaptionDelete, MB_ICONHAND);
        return;
    case DeleteRefusal::UserDefinedLabel:
        MessageBoxW(page, kUserDefinedUndeletable, kCaptionDelete, MB_ICONHAND);
        return;
    case DeleteRefusal::None:
        break;
    }
    const int index = CurrentLabelIndex(rec);
    WCHAR name[kListNameChars] = {};
    GetLabelName(rec, index, name, kListNameChars);
    WCHAR question[kListNameChars + 64] = TEXT("[ ");
    size_t at = WStrLen(question);
    at += WStrCopy(question + at, sizeof(question) / sizeof(question[0]) - at, name);
    at += WStrCopy(question + at, sizeof(question) / sizeof(question[0]) - at, TEXT(" ]"));
    WStrCopy(question + at, sizeof(question) / sizeof(question[0]) - at, kDeleteQuestion);
    if (MessageBoxW(page, question, kCaptionDelete, MB_YESNO | MB_ICONHAND) != IDYES) {
        return;
    }
    const int next = DeleteCurrentLabel(rec);
    if (next < 0) {
        return;
    }
    SendDlgItemMessageW(page, IDC_LABEL_LIST, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SelectListEntry(page, rec, next);
    Refill(page, rec);
}

// Both file dialogs: owner the page, CSV files only, a name buffer that starts empty.
bool ChooseLabelFile(HWND page, WCHAR (&path)[kFileNameChars], bool save) {
    path[0] = 0;
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = page;
    ofn.lpstrFilter = kCsvFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = kFileNameChars;
    ofn.lpstrDefExt = kCsvExtension;
    LibraryActivation activation;
    if (save) {
        ofn.Flags = OFN_OVERWRITEPROMPT;
        return GetSaveFileNameW(&ofn) != FALSE;
    }
    ofn.Flags = OFN_FILEMUSTEXIST;
    return GetOpenFileNameW(&ofn) != FALSE;
}

void ImportLabels(HWND page, DRVDEVMODE* rec) {
    ReadPage(page, rec);
    WCHAR path[kFileNameChars];
    if (!ChooseLabelFile(page, path, false)) {
        return;
    }
    // The file is read into a copy: a file that cannot be read must not cost the sheet its labels.
    auto imported = std::make_unique<DRVDEVMODE>(*rec);
    if (!ImportLabelFile(imported.get(), path)) {
        return;
    }
    *rec = *imported;
    FillList(page, rec);
    PrepareFields(page);
    Refill(page, rec);
}

void ExportLabels(HWND page, DRVDEVMODE* rec) {
    ReadPage(page, rec);
    WCHAR path[kFileNameChars];
    if (ChooseLabelFile(page, path, true)) {
        ExportLabelFile(rec, path);
    }
}

// The printer's level-2 record set back as it is: the spooler then tells its clients the printer
// changed, so they read the new label list.
void RepublishPrinter(HANDLE printer) {
    PrinterInfo2 info;
    if (FetchPrinterInfo2(printer, &info)) {
        SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(const_cast<PRINTER_INFO_2W*>(info.info)), 0);
    }
}

void ApplyPage(HWND page, SHEETDATA* sheet) {
    DRVDEVMODE* rec = SheetSettings(sheet);
    ReadPage(page, rec);
    ConfirmSheet(sheet);
    if (!gLabelStoreReadOnly) {
        HANDLE printer = SheetPrinter(sheet);
        WriteStoredLabels(rec, printer);
        RepublishPrinter(printer);
    }
}

BOOL OnCommand(HWND page, DRVDEVMODE* rec, int id, int code) {
    if (IsFieldControl(id)) {
        if (code == EN_KILLFOCUS) {
            ReadPage(page, rec);
            Refill(page, rec);
        }
        return TRUE;
    }
    for (int r = 0; r < 4; ++r) {
        if (id == kRotationButtons[r]) {
            if (code == BN_CLICKED) {
                ReadPage(page, rec);
                rec->Private.Labels[CurrentLabelIndex(rec)].Values.Rotation = r;
                Refill(page, rec);
            }
            return TRUE;
        }
    }
    LABELVALUES& values = rec->Private.Labels[CurrentLabelIndex(rec)].Values;
    switch (id) {
    case IDC_CUT_LAST:
    case IDC_DRIVER_EXPAND:
        if (code == BN_CLICKED) {
            ReadPage(page, rec);
            LONG& flag = id == IDC_CUT_LAST ? values.CutLast : values.DriverExpand;
            flag = flag ? 0 : 1;
            Refill(page, rec);
        }
        return TRUE;
    case IDC_LABEL_LIST:
        if (code == CBN_SELCHANGE) {
            ReadPage(page, rec);
            const LRESULT selected = SendDlgItemMessageW(page, IDC_LABEL_LIST, CB_GETCURSEL, 0, 0);
            if (selected >= 0) {
                SelectLabelIndex(rec, static_cast<int>(selected));
            }
            Refill(page, rec);
        }
        return TRUE;
    case IDC_LABEL_NEW:
        if (code == BN_CLICKED) {
            CreateNewLabel(page, rec);
        }
        return TRUE;
    case IDC_LABEL_DELETE:
        if (code == BN_CLICKED) {
            DeleteLabel(page, rec);
        }
        return TRUE;
    case IDC_ABOUT:
        ShowAboutBox(page);
        return TRUE;
    case IDC_LABEL_DEFAULTS:
        if (code == BN_CLICKED) {
            ReadPage(page, rec);
            RestoreLabelDefaults(rec);
            SetDlgItemTextW(page, IDC_COPIES, TEXT("1"));
            Refill(page, rec);
        }
        return TRUE;
    case IDC_LABEL_IMPORT:
        ImportLabels(page, rec);
        return TRUE;
    case IDC_LABEL_EXPORT:
        ExportLabels(page, rec);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnNotify(HWND page, SHEETDATA* sheet, const NMHDR* header) {
    DRVDEVMODE* rec = SheetSettings(sheet);
    switch (header->code) {
    case PSN_SETACTIVE:
        FillPage(page, rec);
        return AnswerNotice(page, 0);
    case PSN_KILLACTIVE:
        ReadPage(page, rec);
        SyncPublicDevMode(sheet);
        return AnswerNotice(page, FALSE);
    case PSN_APPLY:
        ApplyPage(page, sheet);
        return AnswerNotice(page, PSNRET_NOERROR);
    case PSN_RESET:
        return AnswerNotice(page, 0);
    default:
        return FALSE;
    }
}

void OnInitDialog(HWND page, LPARAM pageDescription) {
    KeepPageDescription(page, pageDescription);
    SHEETDATA* sheet = PageSheet(page);
    if (!sheet) {
        return;
    }
    DRVDEVMODE* rec = SheetSettings(sheet);
    // The host decides whether the sizes may be edited, so it is known before the first fill.
    RunExplorerTest();
    FillList(page, rec);
    PrepareFields(page);
    FillPage(page, rec);
    if (gLabelStoreReadOnly) {
        for (int id : kListButtons) {
            EnableControl(page, id, false);
        }
    }
}

} // namespace

INT_PTR CALLBACK LabelPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page, lParam);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return TRUE;
    default:
        break;
    }
    SHEETDATA* sheet = PageSheet(page);
    if (!sheet) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND:
        return OnCommand(page, SheetSettings(sheet), LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return lParam ? OnNotify(page, sheet, reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
    default:
        return FALSE;
    }
}
