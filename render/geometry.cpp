#include "geometry.h"

#include "model_lookup.h"

namespace {

constexpr long long kBytesPerBandStep = 16LL * 1024 * 1024; // grey pages: one band per 16 MiB

bool DotsInRange(long long dots) {
    return dots >= 1 && dots <= kMaxPageDots;
}

} // namespace

long long TenthsToDots(long long tenths, LONG dotsPer100mm) {
    return tenths * dotsPer100mm / 1000;
}

bool ComputePageGeometry(const DRVDEVMODE* rec, LONG orientation, PAGEGEOMETRY* out) {
    LabelExtent label = SelectedLabelExtent(rec);
    long long width = label.Width;
    long long height = label.Length;
    if (orientation == DMORIENT_LANDSCAPE) {
        width = label.Length;
        height = label.Width;
    }
    // Sizes are at most ten times a 32-bit value here, so the products below cannot overflow; the range
    // checks then keep every stored value within 32 bits.
    const LONG d100 = GetVariant(rec).Head.DotsPer100mm;
    const long long widthDots = TenthsToDots(width, d100);
    const long long heightDots = TenthsToDots(height, d100);
    if (!DotsInRange(widthDots) || !DotsInRange(heightDots)) {
        return false;
    }
    *out = {};
    out->PageWidth = static_cast<LONG>(width);
    out->PageHeight = static_cast<LONG>(height);
    // The label printers print to every edge: the printable area is the whole label.
    out->PrintableWidth = out->PageWidth;
    out->PrintableHeight = out->PageHeight;
    out->PageWidthDots = static_cast<LONG>(widthDots);
    out->PageHeightDots = static_cast<LONG>(heightDots);
    out->PrintableWidthDots = out->PageWidthDots;
    out->PrintableHeightDots = out->PageHeightDots;
    out->OffsetX = 0;
    out->OffsetY = 0;
    return true;
}

SIZE_T SurfaceStride(LONG widthPixels, ULONG bitsPerPixel) {
    if (widthPixels < 1) {
        return 0;
    }
    const unsigned long long bits = static_cast<unsigned long long>(widthPixels) * bitsPerPixel;
    const unsigned long long stride = (bits + 31) / 32 * 4;
    return stride <= MAXLONG ? static_cast<SIZE_T>(stride) : 0;
}

ULONG BitsPerPixel(LONG depthClass) {
    switch (depthClass) {
    case DEPTH_1BPP:
        return 1;
    case DEPTH_GREY:
        return 8;
    default:
        return 24;
    }
}

void ComputeBanding(const DRVDEVMODE* rec, const PAGEGEOMETRY& page, LONG orientation, BANDINGPARAMS* out) {
    const bool landscape = orientation == DMORIENT_LANDSCAPE;
    *out = {1, 1, 1, 17};
    if (landscape) {
        out->OrientationCode = rec->Private.LandscapeRotation == 0 ? 34 : 18;
    }
    switch (rec->Private.SurfaceToPrint) {
    case 0:
        out->RowAlignment = landscape ? 8 : 1;
        break;
    case 1: {
        const long long bytes =
            static_cast<long long>(SurfaceStride(page.PageWidthDots, 8)) * page.PageHeightDots;
        long long bands = bytes / kBytesPerBandStep;
        bands = bands < 1 ? 1 : (bands > kMaxBands ? kMaxBands : bands);
        out->MinBands = static_cast<LONG>(bands);
        out->MaxBands = kMaxBands;
        break;
    }
    default:
        break;
    }
}
