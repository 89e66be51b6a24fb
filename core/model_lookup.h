// Lookups into the model tables. Per-variant lookups take the working record for its ModelIndex; an
// index outside the table reads variant 0, so a lookup can never run off the table.
#pragma once

#include "devmode.h"

struct Extent {
    LONG Width;  // 0.1 mm
    LONG Length; // 0.1 mm
};

LONG FindModelIndex(LPCWSTR driverName);
// A slot that keeps the index numbering of installed printers but stands for no real printer.
bool IsPlaceholderVariant(LONG modelIndex);
const VARIANTINFO& GetVariant(LONG modelIndex);
const VARIANTINFO& GetVariant(const DRVDEVMODE* rec);
inline const MODELINFO& GetModelInfo(const DRVDEVMODE* rec) {
    return GetVariant(rec).Model;
}

int GetInputSlotCount();
void GetInputSlotName(int index, WCHAR (&out)[24]);
DWORD GetInputSlotId(int index);
int FindInputSlot(DWORD binId);

int GetMediaTypeCount();
void GetMediaTypeName(int index, WCHAR (&out)[64]);
DWORD GetMediaTypeId(int index);
int FindMediaType(DWORD mediaId);

int GetResolutionCount();
DWORD GetResolutionX(const DRVDEVMODE* rec, int index);
DWORD GetResolutionY(const DRVDEVMODE* rec, int index);
const RESOLUTIONINFO& GetResolution(const DRVDEVMODE* rec);

Extent GetMinExtent(const DRVDEVMODE* rec);
Extent GetMaxExtent(const DRVDEVMODE* rec);
LONG GetMaxCopies();
LONG GetLandscapeAngle(const DRVDEVMODE* rec);
BOOL IsCollateOffered(const DRVDEVMODE* rec);
WORD GetHandlingValue(HandlingSelector selector, LONG index);
// The handling value the record's device extension selects.
WORD GetRecordHandling(const DRVDEVMODE* rec, HandlingSelector selector);
