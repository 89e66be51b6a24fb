#include "capabilities.h"

#include "label_store.h"
#include "model_lookup.h"
#include "wstr.h"

#include <cstring>

namespace {

// Callers hand out untyped, possibly unaligned buffers: every value is written byte-wise.
template <class T> void Put(void* output, size_t index, T value) {
    std::memcpy(static_cast<BYTE*>(output) + index * sizeof(T), &value, sizeof(T));
}

void PutPoint(void* output, size_t index, LONG x, LONG y) {
    Put<LONG>(output, 2 * index, x);
    Put<LONG>(output, 2 * index + 1, y);
}

void PutName(void* output, size_t index, size_t slotChars, const WCHAR* name) {
    WCHAR* slot = static_cast<WCHAR*>(output) + index * slotChars;
    WCHAR text[kPaperNameChars] = {};
    WStrCopy(text, slotChars < kPaperNameChars ? slotChars : kPaperNameChars, name);
    std::memcpy(slot, text, slotChars * sizeof(WCHAR));
}

// The label names straight from the list: a print dialog asks for all 250 of them at once.
void PutLabelNames(const DRVDEVMODE* rec, void* output, LONG count) {
    BYTE* slot = static_cast<BYTE*>(output);
    for (LONG i = 0; i < count; ++i, slot += kPaperNameChars * sizeof(WCHAR)) {
        const WCHAR* name = rec->Private.Labels[i].Name;
        const size_t chars = WStrLen(name, kLabelNameChars - 1);
        std::memcpy(slot, name, chars * sizeof(WCHAR));
        std::memset(slot + chars * sizeof(WCHAR), 0, (kPaperNameChars - chars) * sizeof(WCHAR));
    }
}

// An extent as DeviceCapabilities returns it: width in the low word, length in the high word.
DWORD PackExtent(Extent e) {
    return static_cast<DWORD>(MAKELONG(e.Width, e.Length));
}

} // namespace

DWORD DeviceCapability(const DRVDEVMODE* rec, WORD capability, void* output) {
    const LONG labels = GetLabelCount(rec);
    switch (capability) {
    case DC_FIELDS:
        return rec->Public.dmFields;
    case DC_PAPERS:
        for (LONG i = 0; output && i < labels; ++i) {
            Put<WORD>(output, static_cast<size_t>(i), static_cast<WORD>(GetLabelId(rec, i)));
        }
        return static_cast<DWORD>(labels);
    case DC_PAPERSIZE:
        for (LONG i = 0; output && i < labels; ++i) {
            const Extent e = GetLabelSize(rec, i);
            PutPoint(output, static_cast<size_t>(i), e.Width, e.Length);
        }
        return static_cast<DWORD>(labels);
    case DC_MINEXTENT:
    case DC_MAXEXTENT: {
        const Extent e = capability == DC_MINEXTENT ? GetMinExtent(rec) : GetMaxExtent(rec);
        if (output) {
            PutPoint(output, 0, e.Width, e.Length);
        }
        return PackExtent(e);
    }
    case DC_BINS:
        for (int i = 0; output && i < GetInputSlotCount(); ++i) {
            Put<WORD>(output, static_cast<size_t>(i), static_cast<WORD>(GetInputSlotId(i)));
        }
        return static_cast<DWORD>(GetInputSlotCount());
    case DC_DUPLEX:
    case DC_STAPLE:
        return 0;
    case DC_SIZE:
        return kPublicSize;
    case DC_EXTRA:
        return kPrivateBytes;
    case DC_VERSION:
        return DM_SPECVERSION;
    case DC_DRIVER:
        return kDriverVersion;
    case DC_BINNAMES:
        for (int i = 0; output && i < GetInputSlotCount(); ++i) {
            WCHAR name[kBinNameChars];
            GetInputSlotName(i, name);
            PutName(output, static_cast<size_t>(i), kBinNameChars, name);
        }
        return static_cast<DWORD>(GetInputSlotCount());
    case DC_ENUMRESOLUTIONS:
        if (output) {
            PutPoint(output, 0, static_cast<LONG>(GetResolutionX(rec, 0)),
                     static_cast<LONG>(GetResolutionY(rec, 0)));
        }
        return static_cast<DWORD>(GetResolutionCount());
    case DC_TRUETYPE:
        return DCTT_BITMAP;
    case DC_EMF_COMPLIANT:
        return 1;
    case DC_PAPERNAMES:
    case DC_MEDIAREADY:
        if (output) {
            PutLabelNames(rec, output, labels);
        }
        return static_cast<DWORD>(labels);
    case DC_ORIENTATION:
        return static_cast<DWORD>(GetLandscapeAngle(rec));
    case DC_COPIES:
        return static_cast<DWORD>(GetMaxCopies());
    case DC_COLLATE:
        return IsCollateOffered(rec) ? 1 : 0;
    case DC_COLORDEVICE:
        return kHasColor ? 1 : 0;
    case DC_MEDIATYPENAMES:
        for (int i = 0; output && i < GetMediaTypeCount(); ++i) {
            WCHAR name[kMediaNameChars];
            GetMediaTypeName(i, name);
            PutName(output, static_cast<size_t>(i), kMediaNameChars, name);
        }
        return static_cast<DWORD>(GetMediaTypeCount());
    case DC_MEDIATYPES:
        for (int i = 0; output && i < GetMediaTypeCount(); ++i) {
            Put<DWORD>(output, static_cast<size_t>(i), GetMediaTypeId(i));
        }
        return static_cast<DWORD>(GetMediaTypeCount());
    default:
        // DC_FILEDEPENDENCIES, DC_BINADJUST, DC_DATATYPE_PRODUCED, DC_MANUFACTURER, DC_MODEL,
        // DC_PERSONALITY, the print rates, DC_PRINTERMEM, DC_NUP and anything unknown.
        return kCapabilityError;
    }
}

DWORD SplDeviceCapability(const DRVDEVMODE* rec, WORD capability, void* output, DWORD capacityChars) {
    if (capability != DC_PAPERNAMES && capability != DC_MEDIAREADY) {
        return kCapabilityError;
    }
    const LONG labels = GetLabelCount(rec);
    if (!output) {
        return static_cast<DWORD>(labels);
    }
    if (capacityChars < kPaperNameChars) {
        return kCapabilityError;
    }
    const DWORD fit = capacityChars / kPaperNameChars;
    const LONG n = fit < static_cast<DWORD>(labels) ? static_cast<LONG>(fit) : labels;
    PutLabelNames(rec, output, n);
    return static_cast<DWORD>(n);
}
