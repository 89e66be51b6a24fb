#include "pdev.h"

#include "label_store.h"

PDEV* CheckedPdev(DHPDEV dhpdev) {
    PDEV* pdev = reinterpret_cast<PDEV*>(dhpdev);
    // The size is checked before the trailing signature is read, so a foreign block shorter than a PDEV
    // is not read past what its own size field claims.
    if (!pdev || pdev->Signature != kPdevSignature || pdev->Size != sizeof(PDEV) ||
        pdev->TrailingSignature != kPdevSignature || pdev->Self != pdev) {
        return nullptr;
    }
    return pdev;
}

PDEV* CheckedPdev(const SURFOBJ* pso) {
    return pso ? CheckedPdev(pso->dhpdev) : nullptr;
}

void StampPdev(PDEV* pdev) {
    pdev->Signature = kPdevSignature;
    pdev->Size = sizeof(PDEV);
    pdev->TrailingSignature = kPdevSignature;
    pdev->Self = pdev;
    pdev->Settings = &pdev->DevMode;
}

void UnstampPdev(PDEV* pdev) {
    pdev->Signature = 0;
    pdev->Size = 0;
    pdev->TrailingSignature = 0;
    pdev->Self = nullptr;
}

const LABELINFO& SelectedLabel(const DRVDEVMODE* rec) {
    int index = FindLabel(rec, rec->Private.PaperId);
    return rec->Private.Labels[index >= 0 ? index : 0];
}

LabelExtent SelectedLabelExtent(const DRVDEVMODE* rec) {
    const LABELINFO& label = SelectedLabel(rec);
    if (label.Id == kUserDefinedLabelId) {
        return {rec->Private.CustomWidth, rec->Private.CustomLength};
    }
    return {static_cast<long long>(label.Width) * 10, static_cast<long long>(label.Length) * 10};
}
