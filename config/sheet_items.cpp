// The item builder: fills the sheet record's tables one entry at a time. Every call counts its request, so a
// failed build still tells how much it would have needed; once one add fails the rest only count.
#include "sheet_data.h"
#include "wstr.h"

namespace {

bool IsResourceId(LPCWSTR text) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(text);
    return value != 0 && value < 0x10000;
}

LPWSTR AsText(LPCWSTR text) {
    return const_cast<LPWSTR>(text);
}

} // namespace

LPWSTR AddText(SHEETDATA* sheet, LPCWSTR text) {
    if (IsResourceId(text)) {
        return AsText(text);
    }
    ++sheet->Requested[TABLE_TEXTS];
    if (sheet->BuildState != BUILD_OPEN) {
        return nullptr;
    }
    if (sheet->Used[TABLE_TEXTS] >= sheet->CapTexts || sheet->CapTextLength == 0) {
        sheet->BuildState = BUILD_TEXTS_FULL;
        return nullptr;
    }
    WCHAR* entry = sheet->Texts + static_cast<size_t>(sheet->Used[TABLE_TEXTS]++) * sheet->CapTextLength;
    WStrCopy(entry, sheet->CapTextLength, text ? text : TEXT(""));
    return entry;
}

PEXTCHKBOX AddCheckBox(SHEETDATA* sheet, const EXTDESC& desc) {
    ++sheet->Requested[TABLE_CHECKBOXES];
    if (sheet->BuildState != BUILD_OPEN) {
        return nullptr;
    }
    if (sheet->Used[TABLE_CHECKBOXES] >= sheet->CapCheckBoxes) {
        sheet->BuildState = BUILD_CHECKBOXES_FULL;
        return nullptr;
    }
    EXTCHKBOX* box = &sheet->CheckBoxes[sheet->Used[TABLE_CHECKBOXES]++];
    box->cbSize = sizeof(EXTCHKBOX);
    box->Flags = static_cast<WORD>(desc.Flags);
    box->pTitle = AddText(sheet, desc.Title);
    box->pSeparator = AddText(sheet, desc.Separator);
    box->pCheckedName = AddText(sheet, desc.CheckedName);
    box->IconID = desc.IconId;
    return box;
}

PEXTPUSH AddPushButton(SHEETDATA* sheet, const EXTDESC& desc) {
    ++sheet->Requested[TABLE_PUSHBUTTONS];
    if (sheet->BuildState != BUILD_OPEN) {
        return nullptr;
    }
    if (sheet->Used[TABLE_PUSHBUTTONS] >= sheet->CapPushButtons) {
        sheet->BuildState = BUILD_PUSHBUTTONS_FULL;
        return nullptr;
    }
    EXTPUSH* push = &sheet->PushButtons[sheet->Used[TABLE_PUSHBUTTONS]++];
    push->cbSize = sizeof(EXTPUSH);
    push->Flags = static_cast<WORD>(desc.Flags);
    push->pTitle = AddText(sheet, desc.Title);
    push->DlgProc = nullptr;
    push->IconID = desc.IconId;
    return push;
}

POPTITEM AddItem(SHEETDATA* sheet, const ITEMDESC& desc) {
    ++sheet->Requested[TABLE_ITEMS];
    if (sheet->BuildState != BUILD_OPEN) {
        return nullptr;
    }
    if (sheet->Used[TABLE_ITEMS] >= sheet->CapItems) {
        sheet->BuildState = BUILD_ITEMS_FULL;
        return nullptr;
    }
    OPTITEM* item = &sheet->Items[sheet->Used[TABLE_ITEMS]++];
    item->cbSize = sizeof(OPTITEM);
    item->Level = desc.Level;
    item->DlgPageIdx = 0;
    item->Flags = OPTIF_CALLBACK;
    item->UserData = 0;
    item->pName = AddText(sheet, desc.Name);
    item->Sel = desc.Selection;
    item->pOptType = desc.Type;
    item->HelpIndex = desc.HelpIndex;
    item->DMPubID = desc.DMPubID;
    if (desc.Extension && desc.Extension->Kind == 1) {
        item->pExtChkBox = AddCheckBox(sheet, *desc.Extension);
    } else if (desc.Extension && desc.Extension->Kind == 2) {
        item->pExtPush = AddPushButton(sheet, *desc.Extension);
        item->Flags |= OPTIF_EXT_IS_EXTPUSH;
    }
    return item;
}
