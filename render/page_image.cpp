#include "page_image.h"

#include "model_lookup.h"
#include "run_state.h"

namespace {

// Profile A prints only what was drawn in colour; profile B only the black-and-white surface.
#if defined(KT_PROFILE_A)
constexpr LONG kPrintedSurface = 3;
#else
constexpr LONG kPrintedSurface = 0;
#endif

} // namespace

void SendPageImage(PDEV* pdev) {
    DRVDEVMODE* rec = pdev->Settings;
    if (pdev->Suppress || rec->Private.SurfaceToPrint != kPrintedSurface || !pdev->BandSurface ||
        pdev->CurrentBand < 0 || pdev->CurrentBand >= pdev->BandCount) {
        return;
    }
    const BANDRECORD& record = pdev->Bands[pdev->CurrentBand];
    const SURFOBJ* so = pdev->BandSurface;
    const BANDBITS band = {static_cast<const BYTE*>(so->pvScan0), so->lDelta, record.Width, record.Rows};
    const VARIANTINFO& variant = GetVariant(rec);
    const LabelExtent size = SelectedLabelExtent(rec);
    const IMAGESETTINGS settings = {
        &SelectedLabel(rec).Values,     size.Width,   size.Length,     pdev->Options.Orientation,
        rec->Private.LandscapeRotation, variant.Head, variant.MaxWidth};
    COMPARESTATE compare = {};
    for (int head = 0; head < kHeadCount; ++head) {
        compare.Buffers[head] = GetCompareBuffer(rec, head);
    }
    compare.Bytes = kCompareBufferBytes;
    compare.FirstPage = GetFirstPageFlag(rec) != 0;
    if (SendImage(band, settings, compare, pdev->Image, pdev->Out) != ImageResult::Sent) {
        pdev->OutputState |= OUTSTATE_IMAGE_SKIPPED;
    }
    SetFirstPageFlag(rec, 0);
}
