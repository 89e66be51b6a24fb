// The two capability blocks DrvEnablePDEV hands to the engine: GDIINFO (how large the page is and how
// to halftone for it) and DEVINFO (what the driver draws itself, default fonts, palette).
#pragma once

#include "pdev.h"

void FillGdiInfo(const PDEV* pdev, GDIINFO* info);
void FillDevInfo(const PDEV* pdev, DEVINFO* info);

// The caller's buffer of callerSize bytes is zeroed and receives at most blockSize bytes of the block.
void CopyToCaller(void* caller, ULONG callerSize, const void* block, size_t blockSize);
