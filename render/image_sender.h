// The image part of a page: head planes turned and placed for the label, cut into numbered blocks, and
// each block that is new or changed written as a block header and its rows, raw or coded. The printer
// keeps the blocks by number, so a later page of a document sends only what changed.
#pragma once

#include <windows.h>

#include "output_buffer.h"
#include "plane.h"
#include "profile.h"

// A plane, and every turned copy of it, is at most this large; larger images are not sent.
inline constexpr size_t kMaxPlaneBytes = 4000000;

struct IMAGESETTINGS {
    const LABELVALUES* Label;
    long long LabelWidth;   // 0.1 mm
    long long LabelLength;  // 0.1 mm
    LONG Orientation;       // 1 portrait, 2 landscape
    LONG LandscapeRotation; // 0 turned by 90 degrees, 1 by 270
    HEADINFO Head;
    LONG MaxPrintWidth; // 0.1 mm
};

// What the printer holds from the previous pages of the document, per head.
struct COMPARESTATE {
    BYTE* Buffers[kHeadCount]; // nullptr when a head has none: its blocks are then sent, not compared
    size_t Bytes;              // of each buffer
    bool FirstPage;            // the printer holds nothing yet: blank blocks need not be sent
};

// Storage the sender keeps from page to page: one plane per head and a turned copy. The device owns
// it; the sender grows it when a page needs more.
struct GROWBUFFER {
    BYTE* Data;
    size_t Size;
};
struct IMAGEWORK {
    GROWBUFFER Planes[kHeadCount];
    GROWBUFFER Turned;
    BYTE* ByteRuns; // kRowCodeBytes each: the row coder's two areas
    BYTE* RunCodes;
};
void ReleaseImageWork(IMAGEWORK* work);

enum class ImageResult {
    Sent,     // head selects and the blocks that had to go
    TooLarge, // a plane would not fit its buffer, or a field its command: nothing written
    NoMemory, // a work buffer could not be had: nothing written
};

// Appends the band's image to out. The band is the whole page in the modes that print.
ImageResult SendImage(const BANDBITS& band, const IMAGESETTINGS& settings, COMPARESTATE& compare,
                      IMAGEWORK& work, OutputBuffer& out);
