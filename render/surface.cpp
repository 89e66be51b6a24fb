#include "surface.h"

#include "geometry.h"
#include "lifecycle.h"

#include <cstring>

namespace {

ULONG BitmapFormat(LONG depthClass) {
    switch (depthClass) {
    case DEPTH_1BPP:
        return BMF_1BPP;
    case DEPTH_GREY:
        return BMF_8BPP;
    default:
        return BMF_24BPP;
    }
}

void BuildBandTable(PDEV* pdev, LONG bandHeight, LONG stride) {
    const LONG width = pdev->Geometry.PageWidthDots;
    const LONG height = pdev->Geometry.PageHeightDots;
    LONG count = 0;
    for (LONG top = 0; top < height && count < kMaxBands; top += bandHeight, ++count) {
        BANDRECORD& band = pdev->Bands[count];
        band.OriginX = 0;
        band.OriginY = top;
        band.Width = width;
        band.Height = bandHeight;
        band.PageWidth = width;
        band.Rows = height - top < bandHeight ? height - top : bandHeight;
        band.Stride = stride;
        band.Flags = BAND_IN_USE;
    }
    pdev->BandCount = count;
    pdev->CurrentBand = 0;
    pdev->BandOrigin = {0, 0};
}

// One try at the surface with the page cut into bandCount bands. Returns 0, or the error that ends the try;
// whatever it made is released again on failure.
DWORD CreateSurfaceFor(PDEV* pdev, LONG bandCount) {
    const LONG width = pdev->Geometry.PageWidthDots;
    const LONG height = pdev->Geometry.PageHeightDots;
    const LONG align = pdev->Banding.RowAlignment > 0 ? pdev->Banding.RowAlignment : 1;
    long long bandHeight = (static_cast<long long>(height) + bandCount - 1) / bandCount;
    bandHeight = (bandHeight + align - 1) / align * align;
    if (bandHeight > height) {
        bandHeight = height;
    }
    const ULONG format = BitmapFormat(pdev->Options.DepthClass);
    const SIZE_T stride = SurfaceStride(width, BitsPerPixel(pdev->Options.DepthClass));
    // The engine describes a bitmap's size in 32 bits; a page beyond that cannot be had in one band.
    if (stride == 0 || static_cast<unsigned long long>(stride) * bandHeight > MAXLONG) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    const SIZEL bandSize = {width, static_cast<LONG>(bandHeight)};
    const SIZEL pageSize = {width, height};

    pdev->Bitmap = EngCreateBitmap(bandSize, static_cast<LONG>(stride), format, BMF_TOPDOWN, nullptr);
    if (!pdev->Bitmap) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    DWORD error = 0;
    HSURF bitmap = reinterpret_cast<HSURF>(pdev->Bitmap);
    if (!EngAssociateSurface(bitmap, pdev->EngineDevice, 0)) {
        error = ERROR_INVALID_PARAMETER;
    } else if (!(pdev->BandSurface = EngLockSurface(bitmap))) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    } else if (!(pdev->DeviceSurface =
                     EngCreateDeviceSurface(reinterpret_cast<DHSURF>(pdev), pageSize, format))) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    } else if (!EngAssociateSurface(pdev->DeviceSurface, pdev->EngineDevice, kSurfaceHooks)) {
        error = ERROR_INVALID_PARAMETER;
    } else if (bandCount > 1 && !EngMarkBandingSurface(pdev->DeviceSurface)) {
        error = ERROR_INVALID_PARAMETER;
    }
    if (error) {
        ReleaseSurface(pdev);
        return error;
    }
    pdev->Banded = bandCount > 1 ? 1 : 0;
    BuildBandTable(pdev, static_cast<LONG>(bandHeight), static_cast<LONG>(stride));
    return 0;
}

bool AllocateWorkStorage(PDEV* pdev) {
    pdev->Work = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kWorkStorageBytes));
    if (!pdev->Work) {
        return false;
    }
    pdev->WorkSize = kWorkStorageBytes;
    pdev->PatternSet1 = pdev->Work;
    pdev->PatternSet2 = pdev->Work + kPatternSetBytes;
    pdev->WorkArea = pdev->Work + 2 * kPatternSetBytes;
    // Both sets come from the job's first pattern: set 1 answers dither-colour requests, set 2 serves
    // the driver's own fills.
    BuildPatternSet(pdev->Options.Halftone1, pdev->PatternSet1);
    BuildPatternSet(pdev->Options.Halftone1, pdev->PatternSet2);
    // Headroom in front of the buffered bytes lets a writer put a prefix before them without a copy.
    pdev->Out.Data = pdev->WorkArea + kWorkAreaBytes + kOutputHeadroom;
    pdev->Out.Fill = 0;
    for (int i = 0; i < kRowCoderScratchCount; ++i) {
        BYTE* data = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kRowCoderScratchBytes));
        if (!data) {
            return false;
        }
        pdev->Scratch[i] = {data, kRowCoderScratchBytes};
    }
    pdev->Image.ByteRuns = pdev->Scratch[0].Data;
    pdev->Image.RunCodes = pdev->Scratch[1].Data;
    return true;
}

} // namespace

void EraseRows(BYTE* scan0, LONG delta, LONG rows) {
    if (!scan0 || rows <= 0) {
        return;
    }
    const size_t stride = static_cast<size_t>(delta < 0 ? -static_cast<long long>(delta) : delta);
    // A top-down bitmap is one piece of memory; a bottom-up one too, starting at its last row.
    BYTE* first = delta < 0 ? scan0 + static_cast<ptrdiff_t>(rows - 1) * delta : scan0;
    std::memset(first, 0xFF, stride * static_cast<size_t>(rows));
}

void ReleaseSurface(PDEV* pdev) {
    if (pdev->BandSurface) {
        EngUnlockSurface(pdev->BandSurface);
        pdev->BandSurface = nullptr;
    }
    if (pdev->DeviceSurface) {
        EngDeleteSurface(pdev->DeviceSurface);
        pdev->DeviceSurface = nullptr;
    }
    if (pdev->Bitmap) {
        EngDeleteSurface(reinterpret_cast<HSURF>(pdev->Bitmap));
        pdev->Bitmap = nullptr;
    }
    pdev->Banded = 0;
    pdev->BandCount = 0;
    pdev->SurfaceWhite = 0;
    // Bytes still buffered here belong to no page the engine will finish; they go with the storage.
    pdev->Out.Data = nullptr;
    pdev->Out.Fill = 0;
    if (pdev->Work) {
        GlobalFree(pdev->Work);
    }
    pdev->Work = nullptr;
    pdev->WorkSize = 0;
    pdev->PatternSet1 = nullptr;
    pdev->PatternSet2 = nullptr;
    pdev->WorkArea = nullptr;
    for (SCRATCHBUFFER& s : pdev->Scratch) {
        if (s.Data) {
            GlobalFree(s.Data);
        }
        s = {};
    }
    ReleaseImageWork(&pdev->Image);
    pdev->Image.ByteRuns = nullptr;
    pdev->Image.RunCodes = nullptr;
}

extern "C" {

HSURF APIENTRY DrvEnableSurface(DHPDEV dhpdev) {
    PDEV* pdev = CheckedPdev(dhpdev);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (pdev->DeviceSurface) {
        return pdev->DeviceSurface;
    }
    // Fewer bands mean fewer passes over the page; more bands are tried only when the engine cannot give a
    // bitmap that large.
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    const LONG last = pdev->Banding.MaxBands < kMaxBands ? pdev->Banding.MaxBands : kMaxBands;
    bool made = false;
    for (LONG bands = pdev->Banding.MinBands < 1 ? 1 : pdev->Banding.MinBands; bands <= last && !made;
         ++bands) {
        error = CreateSurfaceFor(pdev, bands);
        made = error == 0;
        if (error == ERROR_INVALID_PARAMETER) {
            break;
        }
    }
    if (made && !AllocateWorkStorage(pdev)) {
        made = false;
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!made) {
        ReleaseSurface(pdev);
        SetLastError(error);
        return nullptr;
    }
    LifecycleHook(pdev, pdev->Settings, STAGE_SURFACE_ENABLED);
    return pdev->DeviceSurface;
}

VOID APIENTRY DrvDisableSurface(DHPDEV dhpdev) {
    PDEV* pdev = CheckedPdev(dhpdev);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    ReleaseSurface(pdev);
    LifecycleHook(pdev, pdev->Settings, STAGE_SURFACE_DISABLED);
}

} // extern "C"
