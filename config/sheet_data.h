// The record behind one open property sheet: a working copy of the settings, the pages, and the item tables
// the common property sheet library is handed.
#pragma once

#include <windows.h>
#include <compstui.h>
#include <winddiui.h>

#include "devmode.h"

inline constexpr int kMaxPages = 20;
inline constexpr ULONG_PTR kCustomPage = 5;

// BuildState once every item is in place; the codes below 256 name the add operation that failed.
enum : DWORD {
    BUILD_OPEN = 0,
    BUILD_ITEMS_FULL = 1,
    BUILD_TEXTS_FULL = 4,
    BUILD_CHECKBOXES_FULL = 6,
    BUILD_PUSHBUTTONS_FULL = 7,
    BUILD_ITEM_LOST = 9,
    BUILD_DONE = 256,
};

enum : INT {
    SHEET_DOCUMENT = 0,
    SHEET_ADVANCED = 1,
    SHEET_USER_DEFAULT = 2,
    SHEET_PRINTER = 3,
};

// Page flags: a help button, an icon on the tab, the template from ResourceModule.
enum : DWORD {
    PAGE_HAS_HELP = 0x1,
    PAGE_HAS_ICON = 0x2,
    PAGE_OWN_MODULE = 0x4,
};

struct PAGEINFO {
    ULONG_PTR Kind;
    DLGPROC DialogProc;
    WORD TemplateId;
    HMODULE ResourceModule;
    WORD IconId;
    DWORD Flags;
};

struct PAGEDESCRIPTOR {
    COMPROPSHEETUI Sheet;
    DLGPAGE Page;
};

enum SheetTable {
    TABLE_ITEMS,
    TABLE_TYPES,
    TABLE_PARAMS,
    TABLE_TEXTS,
    TABLE_HALFTONE,
    TABLE_CHECKBOXES,
    TABLE_PUSHBUTTONS,
    TABLE_COUNT
};

struct SHEETDATA {
    SHEETDATA* Self;
    ULONG64 Size;
    INT PageCount;
    PAGEINFO Pages[kMaxPages];
    DWORD ReserveItems;
    DWORD ReserveTypes;
    DWORD ReserveParams;
    DWORD ReserveTexts;
    DWORD TextLength;
    DWORD ReserveHalftone;
    DWORD ReserveCheckBoxes;
    DWORD ReservePushButtons;
    WCHAR HelpFileName[MAX_PATH];
    HANDLE Printer;
    WCHAR PrinterName[MAX_PATH];
    WCHAR HelpFilePath[MAX_PATH];
    INT UpdatePermission;
    DWORD CallerMode;
    INT SheetKind;
    DRVDEVMODE* Settings;
    DWORD BuildState;
    HANDLE RecordHeap;
    HANDLE TableHeap;
    DRVDEVMODE Working;
    PAGEDESCRIPTOR Descriptors[kMaxPages];
    HANDLE PageHandles[kMaxPages];
    PFNCOMPROPSHEET ComPropSheet;
    HANDLE ComPropSheetHandle;
    // Capacities: items, types, parameters, text entries, characters per text entry, halftone setups,
    // check boxes, push buttons.
    DWORD CapItems;
    DWORD CapTypes;
    DWORD CapParams;
    DWORD CapTexts;
    DWORD CapTextLength;
    DWORD CapHalftone;
    DWORD CapCheckBoxes;
    DWORD CapPushButtons;
    DWORD Used[TABLE_COUNT];
    DWORD PageFirstItem;
    DWORD Requested[TABLE_COUNT];
    POPTITEM Items;
    POPTTYPE Types;
    POPTPARAM Params;
    WCHAR* Texts;
    PDEVHTADJDATA Halftone;
    PEXTCHKBOX CheckBoxes;
    PEXTPUSH PushButtons;
    // The caller's header (lParamInit), and the result the sheet applied itself because the common library
    // answered CPSFUNC_SET_RESULT without calling back (Wine's does not carry it).
    LPARAM CallerHeader;
    BOOL OwnResultApplied;
    LRESULT OwnResult;
    // The printer sheet's title as text, when this library opens the sheet itself.
    WCHAR Title[MAX_PATH];
    SHEETDATA* SelfEnd;
};

inline bool IsValidSheet(const SHEETDATA* sheet) {
    return sheet && sheet->Self == sheet && sheet->SelfEnd == sheet && sheet->Size == sizeof(SHEETDATA);
}

// What the builder is given for one item.
struct EXTDESC {
    int Kind; // 0 none, 1 check box, 2 push button
    LPCWSTR Title;
    LPCWSTR Separator;
    LPCWSTR CheckedName;
    DWORD Flags;
    ULONG_PTR IconId;
};

struct ITEMDESC {
    BYTE Level;
    LPCWSTR Name; // text, or a resource id below 0x10000
    DWORD HelpIndex;
    LONG Selection;
    BYTE DMPubID;
    POPTTYPE Type;
    const EXTDESC* Extension;
};

// The item builder; each counts its request and does nothing once BuildState is not 0.
LPWSTR AddText(SHEETDATA* sheet, LPCWSTR text);
PEXTCHKBOX AddCheckBox(SHEETDATA* sheet, const EXTDESC& desc);
PEXTPUSH AddPushButton(SHEETDATA* sheet, const EXTDESC& desc);
POPTITEM AddItem(SHEETDATA* sheet, const ITEMDESC& desc);
