#include "label_edit.h"

#include "label_store.h"
#include "model_lookup.h"
#include "wstr.h"

#include <cstring>

namespace {

// The ranges the page holds its values to, in the units the label keeps them.
constexpr LONG kMaxGap = 999;    // 0.1 mm
constexpr LONG kMaxOffset = 999; // position and cut position, 0.1 mm either way
constexpr LONG kMaxCutCount = 99;
constexpr LONG kMaxPageCopies = 9999;
#if defined(KT_PROFILE_A)
constexpr LONG kMaxXAdjust = 300; // 0.1 mm either way
#else
constexpr LONG kMaxXAdjust = 25;
#endif

LONG Clamp(LONG value, LONG low, LONG high) {
    return value < low ? low : (value > high ? high : value);
}

// The list's length, never past the record's entries.
int Count(const DRVDEVMODE* rec) {
    return static_cast<int>(Clamp(GetLabelCount(rec), 0, kMaxLabels));
}

LABELINFO& Current(DRVDEVMODE* rec) {
    return rec->Private.Labels[CurrentLabelIndex(rec)];
}

bool ExpandAllowed(const DRVDEVMODE* rec) {
#if defined(KT_PROFILE_A)
    (void)rec;
    return true;
#else
    return GetModelInfo(rec).ExpandAllowed != 0;
#endif
}

} // namespace

int CurrentLabelIndex(const DRVDEVMODE* rec) {
    const LONG count = Count(rec);
    const LONG current = rec->Private.CurrentLabel;
    return current >= 0 && current < count ? static_cast<int>(current) : 0;
}

LABELPAGEVIEW ViewCurrentLabel(const DRVDEVMODE* rec, bool labelStoreReadOnly) {
    LABELPAGEVIEW view = {};
    const int index = CurrentLabelIndex(rec);
    const LABELVALUES& v = rec->Private.Labels[index].Values;
    const Extent size = GetLabelSize(rec, index);
    FormatInteger(size.Width / 10, view.Text[kFieldWidth]);
    FormatInteger(size.Length / 10, view.Text[kFieldLength]);
    FormatTenths(v.Gap, view.Text[kFieldGap]);
    FormatTenths(v.PositionAdjust, view.Text[kFieldPositionAdjust]);
    FormatTenths(v.CutPosition, view.Text[kFieldCutPosition]);
    FormatInteger(v.CutCount, view.Text[kFieldCutCount]);
    FormatInteger(v.CutAdjust, view.Text[kFieldCutAdjust]);
    FormatInteger(v.Copies, view.Text[kFieldCopies]);
    FormatTenths(v.XAdjust1, view.Text[kFieldXAdjust1]);
#if defined(KT_PROFILE_A)
    FormatTenths(v.XAdjust2, view.Text[kFieldXAdjust2]);
#endif
    view.SizeEnabled = rec->Private.CurrentLabel != 0 && !labelStoreReadOnly;
    view.CutLast = v.CutLast != 0;
    view.Rotation = v.Rotation >= 0 && v.Rotation <= 3 ? v.Rotation : -1;
    view.DriverExpandEnabled = ExpandAllowed(rec);
    view.DriverExpand = view.DriverExpandEnabled && v.DriverExpand != 0;
    view.XAdjustEnabled = view.DriverExpand;
    return view;
}

void ReadCurrentLabel(DRVDEVMODE* rec, const WCHAR* const (&texts)[kLabelFieldCount]) {
    LABELINFO& label = Current(rec);
    LABELVALUES& v = label.Values;
    rec->Private.PaperId = label.Id;
    LONG width = ReadInteger(texts[kFieldWidth]);
    LONG length = ReadInteger(texts[kFieldLength]);
    if (v.Rotation >= 0 && v.Rotation <= 3) {
        // Both sizes are held to the model's length limits: the head width limit applies where the label
        // is placed, so a label may be wider than the head here.
        const Extent min = GetMinExtent(rec);
        const Extent max = GetMaxExtent(rec);
        width = Clamp(width, min.Length / 10, max.Length / 10);
        length = Clamp(length, min.Length / 10, max.Length / 10);
    }
    label.Width = width;
    label.Length = length;
    v.Gap = Clamp(ReadTenths(texts[kFieldGap]), 0, kMaxGap);
    v.PositionAdjust = Clamp(ReadTenths(texts[kFieldPositionAdjust]), -kMaxOffset, kMaxOffset);
    v.CutPosition = Clamp(ReadTenths(texts[kFieldCutPosition]), -kMaxOffset, kMaxOffset);
    v.CutCount = Clamp(ReadInteger(texts[kFieldCutCount]), 0, kMaxCutCount);
    v.CutAdjust = Clamp(ReadInteger(texts[kFieldCutAdjust]), 0, kMaxCutCount);
    v.Copies = Clamp(ReadInteger(texts[kFieldCopies]), 0, kMaxPageCopies);
    v.XAdjust1 = Clamp(ReadTenths(texts[kFieldXAdjust1]), -kMaxXAdjust, kMaxXAdjust);
#if defined(KT_PROFILE_A)
    v.XAdjust2 = Clamp(ReadTenths(texts[kFieldXAdjust2]), -kMaxXAdjust, kMaxXAdjust);
#endif
    rec->Private.Copies = v.Copies;
    if (label.Id == kUserDefinedLabelId) {
        rec->Private.CustomWidth = MmToTenths(label.Width);
        rec->Private.CustomLength = MmToTenths(label.Length);
    }
}

void RestoreLabelDefaults(DRVDEVMODE* rec) {
    LABELVALUES& v = Current(rec).Values;
    v.Copies = 1;
    v.Rotation = 0;
    v.CutLast = 0;
}

bool SelectLabelIndex(DRVDEVMODE* rec, int index) {
    if (index < 0 || index >= Count(rec)) {
        return false;
    }
    rec->Private.CurrentLabel = index;
    rec->Private.PaperId = rec->Private.Labels[index].Id;
    return true;
}

int CreateLabel(DRVDEVMODE* rec, const WCHAR* name) {
    const int index = Count(rec);
    if (index >= kMaxLabels) {
        return -1;
    }
    LABELINFO& label = rec->Private.Labels[index];
    LabelFromModel(&label, GetModelInfo(rec));
    std::memset(label.Name, 0, sizeof(label.Name));
    WStrCopy(label.Name, name ? name : TEXT(""), kNewLabelNameChars);
    label.Id = 0;
    AssignLabelId(rec, index);
    rec->Private.LabelCount = index + 1;
    return index;
}

DeleteRefusal CheckDeleteCurrent(const DRVDEVMODE* rec) {
#if defined(KT_PROFILE_A)
    return CurrentLabelIndex(rec) == 0 ? DeleteRefusal::StandardLabel : DeleteRefusal::None;
#else
    // The list may have been reordered by an import: the fixed labels are known by their ids.
    const DWORD id = rec->Private.Labels[CurrentLabelIndex(rec)].Id;
    if (id == kStandardLabelId) {
        return DeleteRefusal::StandardLabel;
    }
    return id == kUserDefinedLabelId ? DeleteRefusal::UserDefinedLabel : DeleteRefusal::None;
#endif
}

int DeleteCurrentLabel(DRVDEVMODE* rec) {
    const int count = Count(rec);
    if (count == 0 || CheckDeleteCurrent(rec) != DeleteRefusal::None) {
        return -1;
    }
    const int index = CurrentLabelIndex(rec);
    LABELINFO* labels = rec->Private.Labels;
    for (int i = index; i + 1 < count; ++i) {
        labels[i] = labels[i + 1];
    }
    std::memset(&labels[count - 1], 0, sizeof(LABELINFO));
    rec->Private.LabelCount = count - 1;
    const int remaining = count - 1;
    const int selected = remaining <= 1 ? 0 : (index < remaining ? index : remaining - 1);
    SelectLabelIndex(rec, selected);
    return selected;
}
