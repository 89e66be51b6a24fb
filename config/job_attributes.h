// Job attributes: which of N-up, page order and copies the print processor carries out for a job, and how.
#pragma once

#include <windows.h>
#include <winddiui.h>

#include "devmode.h"

// The values computed for the print processor, whatever level of ATTRIBUTE_INFO the caller holds.
struct JOBATTRIBUTES {
    DWORD JobPagesPerSide;
    DWORD DrvPagesPerSide;
    DWORD NupBorderFlags;
    DWORD JobPageOrderFlags;
    DWORD DrvPageOrderFlags;
    DWORD JobCopies;
    DWORD DrvCopies;
    // Set only on systems that know ATTRIBUTE_INFO_4 (OS code 203 and later); LaterSet says they were.
    DWORD NupDirection;
    DWORD BookletFlags;
    DWORD DuplexFlags;
    DWORD ScalingPercent;
    bool LaterSet;
};

// Computes the attributes for the settled record rec of the caller's input record (whose dmCollate it
// sets, as far as its dmSize reaches). Returns 0, leaving a alone, when no selector hands anything to the
// print processor or its capabilities cannot be read; otherwise 1.
BOOL ComputeJobAttributes(const DRVDEVMODE* rec, DEVMODEW* input, HANDLE printer, LONG osCode,
                          JOBATTRIBUTES* a);

// The ATTRIBUTE_INFO levels DrvQueryJobAttributes answers, with the size of each record.
size_t AttributeInfoSize(DWORD level);
// Reads the caller's record of that level into a, and writes a back; only the fields the level holds.
void ReadAttributeInfo(const BYTE* info, DWORD level, JOBATTRIBUTES* a);
void WriteAttributeInfo(BYTE* info, DWORD level, const JOBATTRIBUTES& a, const DEVMODEW* input,
                        const DRVDEVMODE* rec);
