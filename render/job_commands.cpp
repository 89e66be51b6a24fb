#include "job_commands.h"

#include "commands.h"
#include "run_state.h"

namespace {

// Whole millimetres as the label format writes them.
LONG WholeMm(long long tenths) {
    return static_cast<LONG>(tenths / 10);
}

} // namespace

void WriteJobHeader(PDEV* pdev) {
    if (pdev->Suppress) {
        return;
    }
    DRVDEVMODE* rec = pdev->Settings;
    const LABELINFO& label = SelectedLabel(rec);
    const LabelExtent size = SelectedLabelExtent(rec);
    // A device that replaced another in the middle of a document carries on with that document's pages:
    // the printer already has the job start.
    if (pdev->PagesSinceEnable != 1 || pdev->DocumentPages != 1) {
        SetFirstPageFlag(rec, 0);
        return;
    }
    OutputBuffer& out = pdev->Out;
    const bool expand = label.Values.DriverExpand != 0;
    if (!expand) {
        WriteReset(out);
    }
    WriteLabelFormat(
        out, {expand, label.Values.Rotation, WholeMm(size.Width), WholeMm(size.Length), label.Values.Gap});
    WritePositionAndCut(out, {label.Values.PositionAdjust, label.Values.CutPosition, label.Values.CutCount,
                              label.Values.CutAdjust});
    if (label.Values.PrintSettingsEnabled != 0) {
#if defined(KT_PROFILE_A)
        WritePrintSettings(out, {label.Values.PrintSpeed,
                                 {label.Values.Density1, label.Values.Density2},
                                 {label.Values.HeadVoltage1, label.Values.HeadVoltage2}});
#else
        WritePrintSettings(out,
                           {label.Values.PrintSpeed, {label.Values.Density1}, {label.Values.HeadVoltage1}});
#endif
    }
    SetFirstPageFlag(rec, 1);
    AllocateCompareBuffers(rec);
}

void WritePageEnd(PDEV* pdev) {
    if (pdev->Suppress) {
        return;
    }
    const LABELINFO& label = SelectedLabel(pdev->Settings);
    OutputBuffer& out = pdev->Out;
    if (label.Values.QuantityCommand != 0) {
        WritePrintCount(out, pdev->Options.Copies);
        return;
    }
    // One print command per copy; once the spooler refused a write there is nobody left to count for.
    for (LONG copy = 0; copy < pdev->Options.Copies && !out.Failed(); ++copy) {
        WritePrintOne(out);
    }
}

void WriteDocumentEnd(PDEV* pdev) {
    DRVDEVMODE* rec = pdev->Settings;
    SetFirstPageFlag(rec, 0);
    // Released even for a suppressed document, so that no path keeps them past the document.
    ReleaseCompareBuffers(rec);
    if (pdev->Suppress) {
        return;
    }
    if (SelectedLabel(rec).Values.CutLast != 0) {
        WriteFinalCut(pdev->Out);
    }
}
