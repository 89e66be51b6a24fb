// The printer's command language: STX, a command byte, fixed-width ASCII fields, ETX. These functions
// only encode: they take values and append the command's bytes to the output buffer. Which command is
// written when, and from which settings, is decided in job_commands.cpp and by the image sender.
#pragma once

#include <windows.h>

#include "output_buffer.h"
#include "profile.h"

struct LABELFORMAT {
    bool DriverExpand; // "f00" instead of "F00"
    LONG Rotation;     // 0..3 choose the order of the size fields; anything else leaves them out
    LONG WidthMm;
    LONG LengthMm;
    LONG Gap; // 0.1 mm
};

struct POSITIONCUT {
    LONG PositionAdjust; // 0.1 mm, signed
    LONG CutPosition;    // 0.1 mm, signed
    LONG CutCount;
    LONG CutAdjust;
};

// List indices as the option lists number them; the printer receives the index, not the value.
struct PRINTSETTINGS {
    LONG Speed;
    LONG Density[kHeadCount];
    LONG Voltage[kHeadCount];
};

// Row codings of a compressed row.
enum : char {
    ROWCODE_BYTE_RUNS = '1',
    ROWCODE_RUNS_FROM_WHITE = '2',
    ROWCODE_RUNS_FROM_BLACK = '3',
};

void WriteReset(OutputBuffer& out);
void WriteLabelFormat(OutputBuffer& out, const LABELFORMAT& format);
void WritePositionAndCut(OutputBuffer& out, const POSITIONCUT& values);
void WritePrintSettings(OutputBuffer& out, const PRINTSETTINGS& settings);
void WriteHeadSelect(OutputBuffer& out, int head);
void WriteBlockHeader(OutputBuffer& out, bool driverExpand, int block, LONG x, LONG y, LONG rows, LONG width);
void WriteRawRow(OutputBuffer& out, bool driverExpand, int block, const BYTE* row, size_t bytes);
// coded starts with the coding's 16-bit little-endian count, as the row coder produces it.
void WriteCompressedRow(OutputBuffer& out, bool driverExpand, int block, char coding, const BYTE* coded,
                        size_t bytes);
void WritePrintCount(OutputBuffer& out, LONG copies);
void WritePrintOne(OutputBuffer& out);
void WriteFinalCut(OutputBuffer& out);
