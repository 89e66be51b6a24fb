// What the label page does to the working settings, apart from the dialog: the page's fields as texts,
// filled from the current label and read back into it with the page's clamps, and the label list's
// create, delete and select. The page procedure moves texts between these and its controls.
#pragma once

#include "devmode.h"
#include "label_fields.h"

// The edit fields, in the order the page reads them. Profile B's label has one X correction.
enum LabelField : int {
    kFieldWidth,
    kFieldLength,
    kFieldGap,
    kFieldPositionAdjust,
    kFieldCutPosition,
    kFieldCutCount,
    kFieldCutAdjust,
    kFieldCopies,
    kFieldXAdjust1,
#if defined(KT_PROFILE_A)
    kFieldXAdjust2,
#endif
    kLabelFieldCount
};

// The page as the current label fills it.
struct LABELPAGEVIEW {
    WCHAR Text[kLabelFieldCount][kFieldTextChars];
    bool SizeEnabled; // the standard label's size, and every size outside Explorer, is fixed
    bool CutLast;
    LONG Rotation;            // 0..3 checks that button and shows its icon; -1 leaves both as they are
    bool DriverExpand;        // the check box
    bool DriverExpandEnabled; // profile B: only variants that allow driver expansion
    bool XAdjustEnabled;
};

// The current label: Labels[CurrentLabel], with CurrentLabel held to the list.
int CurrentLabelIndex(const DRVDEVMODE* rec);

LABELPAGEVIEW ViewCurrentLabel(const DRVDEVMODE* rec, bool labelStoreReadOnly);

// Reads the page's texts into the current label, holding each value to its range, and carries the
// label's id, copies and (for the user-defined label) size into the record.
void ReadCurrentLabel(DRVDEVMODE* rec, const WCHAR* const (&texts)[kLabelFieldCount]);

// The page's defaults button: copies 1, rotation 0, no cut after the last label.
void RestoreLabelDefaults(DRVDEVMODE* rec);

// Makes entry index current (PaperId follows it). False for an index outside the list.
bool SelectLabelIndex(DRVDEVMODE* rec, int index);

// A new label at the end of the list from the model's standard label, with a new id and the name (at most
// kNewLabelNameChars characters; not checked otherwise). Returns its index, or -1 when the list is full.
inline constexpr int kNewLabelNameChars = 30;
int CreateLabel(DRVDEVMODE* rec, const WCHAR* name);

// Why the current label may not be deleted.
enum class DeleteRefusal { None, StandardLabel, UserDefinedLabel };
DeleteRefusal CheckDeleteCurrent(const DRVDEVMODE* rec);

// Deletes the current label: the later entries move down, the freed last entry is zeroed, and the entry
// now at its place (or the new last one) becomes current. Returns the new current index, or -1 when it
// may not be deleted.
int DeleteCurrentLabel(DRVDEVMODE* rec);
