// Run-time values the rendering library keeps in the reserved bytes after the label list of its own copy
// of the settings record: the first-page flag and the addresses of the comparison buffers, one per head,
// each address as two 32-bit halves, low half first. The configuration library never sees this copy.
#pragma once

#include <windows.h>

#include "devmode.h"

// One page image of one head, compared block by block with the next page's.
inline constexpr SIZE_T kCompareBufferBytes = 4000000;

DWORD GetFirstPageFlag(const DRVDEVMODE* rec);
void SetFirstPageFlag(DRVDEVMODE* rec, DWORD value);

// head counts from 0. nullptr when the head has no buffer: its blocks are then all sent, none compared.
BYTE* GetCompareBuffer(const DRVDEVMODE* rec, int head);
void SetCompareBuffer(DRVDEVMODE* rec, int head, BYTE* buffer);

// Gives every head a zero-filled buffer. If any of them cannot be had, none is kept: the pages are then
// sent whole, which costs time at the printer but prints the same labels.
void AllocateCompareBuffers(DRVDEVMODE* rec);
void ReleaseCompareBuffers(DRVDEVMODE* rec);
