#include "palette.h"

bool CreateDevicePalette(PDEV* pdev) {
    pdev->PaletteCount = 0;
    switch (pdev->Options.DepthClass) {
    case DEPTH_1BPP:
        // Index 0 black, index 1 white: a set bit of the page is paper.
        pdev->PaletteEntries[0] = 0x000000;
        pdev->PaletteEntries[1] = 0xFFFFFF;
        pdev->PaletteCount = 2;
        pdev->Palette = EngCreatePalette(PAL_INDEXED, 2, pdev->PaletteEntries, 0, 0, 0);
        break;
    case DEPTH_GREY:
        for (ULONG i = 0; i < 256; ++i) {
            pdev->PaletteEntries[i] = i * 0x010101;
        }
        pdev->PaletteCount = 256;
        pdev->Palette = EngCreatePalette(PAL_INDEXED, 256, pdev->PaletteEntries, 0, 0, 0);
        break;
    case DEPTH_BGR:
        pdev->Palette = EngCreatePalette(PAL_BGR, 0, nullptr, 0, 0, 0);
        break;
    default:
        pdev->Palette = EngCreatePalette(PAL_RGB, 0, nullptr, 0, 0, 0);
        break;
    }
    return pdev->Palette != nullptr;
}

void DeleteDevicePalette(PDEV* pdev) {
    if (pdev->Palette) {
        EngDeletePalette(pdev->Palette);
        pdev->Palette = nullptr;
    }
}
