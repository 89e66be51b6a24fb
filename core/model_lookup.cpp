#include "model_lookup.h"

#include "wstr.h"

#include <iterator>

LONG FindModelIndex(LPCWSTR driverName) {
    // Variant names nest ("KT-936U" inside "KT-936U-12"), so the last name found wins.
    size_t len = WStrLen(driverName);
    LONG found = 0;
    for (int i = 0; i < kVariantCount; ++i) {
        if (driverName && WStrContains(driverName, len, kVariants[i].VariantName)) {
            found = i;
        }
    }
    return found;
}

bool IsPlaceholderVariant(LONG modelIndex) {
    return WStrEqual(GetVariant(modelIndex).VariantName, TEXT("DISABLE"));
}

const VARIANTINFO& GetVariant(LONG modelIndex) {
    return kVariants[(modelIndex >= 0 && modelIndex < kVariantCount) ? modelIndex : 0];
}

const VARIANTINFO& GetVariant(const DRVDEVMODE* rec) {
    return GetVariant(rec->Private.ModelIndex);
}

int GetInputSlotCount() {
    return static_cast<int>(std::size(kInputSlots));
}

void GetInputSlotName(int index, WCHAR (&out)[24]) {
    out[0] = 0;
    if (index >= 0 && index < GetInputSlotCount()) {
        WStrCopy(out, kInputSlots[index].Name);
    }
}

DWORD GetInputSlotId(int index) {
    return (index >= 0 && index < GetInputSlotCount()) ? kInputSlots[index].BinId : 0;
}

int FindInputSlot(DWORD binId) {
    for (int i = 0; i < GetInputSlotCount(); ++i) {
        if (kInputSlots[i].BinId == binId) {
            return i;
        }
    }
    return -1;
}

int GetMediaTypeCount() {
    return static_cast<int>(std::size(kMediaTypes));
}

void GetMediaTypeName(int index, WCHAR (&out)[64]) {
    out[0] = 0;
    if (index >= 0 && index < GetMediaTypeCount()) {
        WStrCopy(out, kMediaTypes[index].Name);
    }
}

DWORD GetMediaTypeId(int index) {
    return (index >= 0 && index < GetMediaTypeCount()) ? kMediaTypes[index].MediaId : 0;
}

int FindMediaType(DWORD mediaId) {
    for (int i = 0; i < GetMediaTypeCount(); ++i) {
        if (kMediaTypes[i].MediaId == mediaId) {
            return i;
        }
    }
    return -1;
}

// Every variant offers exactly one resolution, so the index only matters to callers that walk lists.
int GetResolutionCount() {
    return 1;
}
const RESOLUTIONINFO& GetResolution(const DRVDEVMODE* rec) {
    return GetVariant(rec).Resolution;
}
DWORD GetResolutionX(const DRVDEVMODE* rec, int) {
    return GetResolution(rec).DpiX;
}
DWORD GetResolutionY(const DRVDEVMODE* rec, int) {
    return GetResolution(rec).DpiY;
}

Extent GetMinExtent(const DRVDEVMODE*) {
    return {kMinCustomWidth, kMinCustomLength};
}

Extent GetMaxExtent(const DRVDEVMODE* rec) {
    const VARIANTINFO& v = GetVariant(rec);
    return {v.MaxWidth, v.MaxLength};
}

LONG GetMaxCopies() {
    return kMaxCopies;
}

LONG GetLandscapeAngle(const DRVDEVMODE* rec) {
    return rec->Private.LandscapeRotation ? 270 : 90;
}

WORD GetHandlingValue(HandlingSelector selector, LONG index) {
    if (selector < 0 || selector >= SELECTOR_COUNT) {
        return 0;
    }
    const HANDLINGSELECTOR& s = kHandlingSelectors[selector];
    return (index >= 0 && index < s.ValueCount) ? s.Values[index] : s.Values[0];
}

WORD GetRecordHandling(const DRVDEVMODE* rec, HandlingSelector selector) {
    const DEVICEEXT& e = rec->Extension;
    const LONG indexes[SELECTOR_COUNT] = {e.NupHandling, e.PageOrderHandling, e.CollateHandling,
                                          e.CopyHandling};
    return GetHandlingValue(selector, indexes[selector]);
}

BOOL IsCollateOffered(const DRVDEVMODE* rec) {
    return GetRecordHandling(rec, SELECTOR_COLLATE) != HANDLING_NOT_SUPPORTED;
}
