// The printer's list of labels inside a device settings record: accessors, id assignment and the
// default list.
#pragma once

#include "devmode.h"
#include "model_lookup.h"

// Whole millimetres (as a label keeps its size) in tenths, held to the 32-bit range: a size typed
// into a label file can be any number.
LONG MmToTenths(LONG mm);

LONG GetLabelCount(const DRVDEVMODE* rec);
void GetLabelName(const DRVDEVMODE* rec, int index, WCHAR* out, size_t capacity);
Extent GetLabelSize(const DRVDEVMODE* rec, int index);
DWORD GetLabelId(const DRVDEVMODE* rec, int index);
int FindLabel(const DRVDEVMODE* rec, DWORD id);
int SelectLabel(DRVDEVMODE* rec, DWORD id);
void AssignLabelId(DRVDEVMODE* rec, int index);
void BuildDefaultLabels(DRVDEVMODE* rec);
// Fills one label from the model's standard label (values from Gap on, sizes in whole mm).
void LabelFromModel(LABELINFO* label, const MODELINFO& model);
