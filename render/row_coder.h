// The two codings the printer accepts for an image row besides raw bytes: byte runs (repeat and literal
// items) and run codes (alternating white and black runs of dots, each as a prefix code). Both work in
// storage the caller owns, so coding a row never allocates.
#pragma once

#include <windows.h>

#include <cstddef>

#include "commands.h"

// The printer run-codes rows of at most this many dots; wider rows always go raw.
inline constexpr size_t kMaxCodedRowDots = 4096;
inline constexpr size_t kMaxCodedRowBytes = kMaxCodedRowDots / 8;
// Room either coding needs for the widest row it codes: the 16-bit count, then at worst one 2-bit
// code per dot (run codes) or one item byte per 127 bytes more than the row (byte runs).
inline constexpr size_t kRowCodeBytes = 2 + kMaxCodedRowDots * 2 / 8;

// A coded row as the compressed row command carries it: the coding's digit and its bytes, starting
// with the 16-bit little-endian count.
struct CODEDROW {
    char Coding; // ROWCODE_*; 0 when the row goes raw
    const BYTE* Bytes;
    size_t Size;
};

// Item bytes of the byte-run coding of row (without the count), written after a 2-byte count into
// out (kRowCodeBytes). Stops and returns SIZE_MAX once the items reach `give_up` bytes.
size_t CodeByteRuns(const BYTE* row, size_t bytes, BYTE* out, size_t giveUp);
// Code bits of the run coding of row, written after a 2-byte count into out (kRowCodeBytes); *first
// tells whether the first run is black. Stops and returns SIZE_MAX once the codes reach `giveUp`
// bytes. Rows of more than kMaxCodedRowBytes are not coded (SIZE_MAX).
size_t CodeRuns(const BYTE* row, size_t bytes, BYTE* out, size_t giveUp, bool* startsBlack);

// Bits of the prefix code of a run of r dots (1 <= r <= 4096), and the code itself in the low bits.
struct RUNCODE {
    UINT Bits;
    UINT Code;
};
RUNCODE PrefixCode(UINT run);

// Chooses how row goes to the printer: the shorter coding when it saves more than the three bytes of
// its framing, run codes on a tie, otherwise raw (Coding 0). byteRuns and runCodes are the caller's
// two areas of kRowCodeBytes each.
CODEDROW CodeRow(const BYTE* row, size_t bytes, BYTE* byteRuns, BYTE* runCodes);
