#include "label_store.h"

#include "wstr.h"

#include <cstdint>
#include <cstring>

LONG MmToTenths(LONG mm) {
    const int64_t tenths = static_cast<int64_t>(mm) * 10;
    return tenths > INT32_MAX ? INT32_MAX : (tenths < INT32_MIN ? INT32_MIN : static_cast<LONG>(tenths));
}

LONG GetLabelCount(const DRVDEVMODE* rec) {
    return rec->Private.LabelCount;
}

void GetLabelName(const DRVDEVMODE* rec, int index, WCHAR* out, size_t capacity) {
    if (!out || capacity == 0) {
        return;
    }
    const WCHAR* name =
        (index >= 0 && index < kMaxLabels) ? rec->Private.Labels[index].Name : GetModelInfo(rec).Name;
    out[capacity - 1] = 0;
    WStrCopy(out, capacity, name, kLabelNameChars - 1);
}

Extent GetLabelSize(const DRVDEVMODE* rec, int index) {
    if (index >= 0 && index < kMaxLabels && rec->Private.Labels[index].Id != kUserDefinedLabelId) {
        const LABELINFO& l = rec->Private.Labels[index];
        return {MmToTenths(l.Width), MmToTenths(l.Length)};
    }
    return {rec->Private.CustomWidth, rec->Private.CustomLength};
}

DWORD GetLabelId(const DRVDEVMODE* rec, int index) {
    return (index >= 0 && index < kMaxLabels) ? rec->Private.Labels[index].Id : kUserDefinedLabelId;
}

int FindLabel(const DRVDEVMODE* rec, DWORD id) {
    LONG count = rec->Private.LabelCount;
    count = count < 0 ? 0 : (count > kMaxLabels ? kMaxLabels : count);
    for (int i = 0; i < count; ++i) {
        if (rec->Private.Labels[i].Id == id) {
            return i;
        }
    }
    return -1;
}

int SelectLabel(DRVDEVMODE* rec, DWORD id) {
    int index = FindLabel(rec, id);
    if (index >= 0) {
        rec->Private.PaperId = id;
    }
    return index;
}

void AssignLabelId(DRVDEVMODE* rec, int index) {
    if (index < 0 || index >= kMaxLabels || rec->Private.Labels[index].Id != 0) {
        return;
    }
    if (index <= 1) {
        rec->Private.Labels[index].Id = index == 0 ? kStandardLabelId : kUserDefinedLabelId;
        return;
    }
    for (DWORD v = kFirstStoredLabelId; v > 0; --v) {
        bool used = false;
        for (int i = 1; i < kMaxLabels && !used; ++i) {
            used = rec->Private.Labels[i].Id == v;
        }
        if (!used) {
            rec->Private.Labels[index].Id = v;
            return;
        }
    }
}

void LabelFromModel(LABELINFO* label, const MODELINFO& model) {
    std::memset(label, 0, sizeof(*label));
    WStrCopy(label->Name, model.Name);
    label->Id = model.Id;
    label->Width = model.Width / 10;
    label->Length = model.Length / 10;
    label->Values = model.Values;
}

void BuildDefaultLabels(DRVDEVMODE* rec) {
    const MODELINFO& model = GetModelInfo(rec);
    LABELINFO* labels = rec->Private.Labels;
    LabelFromModel(&labels[0], model);
    LabelFromModel(&labels[1], model);
    std::memset(labels[1].Name, 0, sizeof(labels[1].Name)); // no trace of the longer model name after the NUL
    WStrCopy(labels[1].Name, kUserDefinedLabelName);
    labels[0].Id = kStandardLabelId;
    labels[1].Id = kUserDefinedLabelId;
    rec->Private.LabelCount = 2;
}
