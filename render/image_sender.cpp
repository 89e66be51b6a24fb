#include "image_sender.h"

#include "commands.h"
#include "row_coder.h"

#include <cstdint>
#include <cstring>

namespace {

enum class Turn { None, CounterClockwise, Clockwise, Half };

// How a head's plane goes onto the printer's head: the turn, the label size that decides clipping, and
// the row geometry of what is sent.
struct LAYOUT {
    Turn Turning;
    LONG TurnedWidth;
    LONG TurnedRows;
    size_t TurnedRowBytes;
    bool Clip;        // the label is wider than the head prints: the row is cut to the head
    size_t BaseBytes; // bytes taken from each turned row before any shift
    int Shift;        // driver expansion: bits every row moves right
    size_t Drop;      // driver expansion: whole bytes left out at the start of every row
    LONG Width;       // dots of a sent row
    size_t RowBytes;  // bytes of a sent row
    LONG X;           // block X field: 0.1 mm, or dots with driver expansion
};

struct TURNCHOICE {
    Turn Turning;
    bool ByLength; // the label's length, not its width, lies across the head
};

// By Rotation 0..3, for portrait, landscape turned by 90 degrees and landscape turned by 270 degrees.
// The 270-degree choice is the 90-degree one followed by a half turn.
constexpr TURNCHOICE kTurns[3][4] = {
    {{Turn::None, false}, {Turn::CounterClockwise, true}, {Turn::Half, false}, {Turn::Clockwise, true}},
    {{Turn::CounterClockwise, false}, {Turn::Half, true}, {Turn::Clockwise, false}, {Turn::None, true}},
    {{Turn::Clockwise, false}, {Turn::None, true}, {Turn::CounterClockwise, false}, {Turn::Half, true}},
};

constexpr LONG kMaxField = 99999999; // keeps every field of a command within 32 bits with room to spare

bool FitsField(long long v) {
    return v >= -kMaxField && v <= kMaxField;
}

long long TenthsToDots(long long tenths, LONG dotsPer100mm) {
    return tenths * dotsPer100mm / 1000;
}

// The layout of head `head`; false when the image cannot be sent within the limits.
bool Layout(const PLANE& plane, int head, const IMAGESETTINGS& s, LAYOUT* l) {
    if (s.Head.WidthDots <= 0 || s.Head.WidthDots % 8 != 0 ||
        static_cast<size_t>(s.Head.WidthDots / 8) > kMaxHeadBytes) {
        return false;
    }
    const LONG rotation = s.Label->Rotation;
    const bool turnedKnown = rotation >= 0 && rotation <= 3;
    const int table = s.Orientation == DMORIENT_LANDSCAPE ? (s.LandscapeRotation ? 2 : 1) : 0;
    const TURNCHOICE choice = turnedKnown ? kTurns[table][rotation] : TURNCHOICE{Turn::None, false};
    l->Turning = choice.Turning;
    const bool quarter = choice.Turning == Turn::CounterClockwise || choice.Turning == Turn::Clockwise;
    l->TurnedWidth = quarter ? plane.Rows : plane.Width;
    l->TurnedRows = quarter ? plane.Width : plane.Rows;
    l->TurnedRowBytes = PlaneRowBytes(l->TurnedWidth);
    if (static_cast<unsigned long long>(l->TurnedRows) * l->TurnedRowBytes > kMaxPlaneBytes) {
        return false;
    }
    const long long across = choice.ByLength ? s.LabelLength : s.LabelWidth;
    const LONG headWidth = s.Head.WidthDots;
    long long centring;
    long long width = l->TurnedWidth;
    l->Clip = false;
    l->BaseBytes = l->TurnedRowBytes;
    if (!turnedKnown) {
        // An unknown rotation is sent as drawn, centred as a label of its width would be, even when that
        // leaves it hanging over the edge of the head.
        centring = (s.MaxPrintWidth - s.LabelWidth) / 2;
    } else if (s.MaxPrintWidth < across) {
        l->Clip = true;
        width = headWidth;
        l->BaseBytes = static_cast<size_t>(headWidth / 8);
        centring = 0;
    } else {
        centring = (s.MaxPrintWidth - across) / 2;
    }
    long long rowBytes = static_cast<long long>(l->BaseBytes);
    long long x = centring;
    l->Shift = 0;
    l->Drop = 0;
    if (s.Label->DriverExpand) {
        // The driver places the image on the head itself, to the dot: the offset includes the head's X
        // correction and is sent as a whole number of bytes, the rest as a shift of every row.
#if defined(KT_PROFILE_A)
        const LONG correction = head == 0 ? s.Label->XAdjust1 : s.Label->XAdjust2;
#else
        const LONG correction = head == 0 ? s.Label->XAdjust1 : 0;
#endif
        const long long o = TenthsToDots(centring + correction, s.Head.DotsPer100mm);
        const int shift = static_cast<int>(((o % 8) + 8) % 8);
        if (shift) {
            const long long grown = (width + shift + 7) / 8;
            rowBytes = grown < headWidth / 8 ? grown : headWidth / 8;
            width = width + shift < headWidth ? width + shift : headWidth;
        }
        l->Shift = shift;
        if (o < 0) {
            const long long drop = (7 - o) / 8;
            l->Drop = static_cast<size_t>(drop < rowBytes ? drop : rowBytes);
            rowBytes -= static_cast<long long>(l->Drop);
            width -= 8 * drop;
            x = 0;
        } else {
            x = o - shift;
        }
    }
    if (width < 0 || rowBytes < 0) {
        width = 0;
        rowBytes = 0;
    }
    l->Width = static_cast<LONG>(width < kMaxField ? width : kMaxField);
    l->RowBytes = static_cast<size_t>(rowBytes);
    l->X = static_cast<LONG>(FitsField(x) ? x : 0);
    return FitsField(x) && FitsField(width) &&
           static_cast<unsigned long long>(l->TurnedRows) * l->RowBytes <= kMaxPlaneBytes;
}

bool Grow(GROWBUFFER* b, size_t bytes) {
    if (b->Size >= bytes && b->Data) {
        return true;
    }
    if (b->Data) {
        GlobalFree(b->Data);
    }
    b->Data = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, bytes ? bytes : 1));
    b->Size = b->Data ? bytes : 0;
    return b->Data != nullptr;
}

// Builds the sent form of turned row r: cut or padded to the head, shifted, leading bytes dropped.
// Rows that need no shift and no cut are used where they lie.
class RowPlacer {
  public:
    RowPlacer(const PLANE& turned, const LAYOUT& layout) : turned_(turned), l_(layout) {}
    // Rows are sent as they lie in the turned plane, one after the other.
    bool RowsLieInPlace() const { return !l_.Clip && l_.Shift == 0 && l_.Drop == 0; }
    const BYTE* Row(LONG r) {
        const BYTE* src = turned_.Bits + static_cast<size_t>(r) * turned_.RowBytes;
        if (!l_.Clip && l_.Shift == 0) {
            return src + l_.Drop;
        }
        // Here the row is at most as wide as the head. Byte j of the row before the shift is the turned
        // row's, or white past it (a turned row narrower than the head it is cut to).
        const size_t take = l_.BaseBytes < turned_.RowBytes ? l_.BaseBytes : turned_.RowBytes;
        auto before = [&](size_t j, bool exists) -> BYTE { return exists && j < take ? src[j] : 0; };
        for (size_t k = 0; k < l_.RowBytes; ++k) {
            const size_t j = l_.Drop + k;
            if (l_.Shift) {
                placed_[k] = static_cast<BYTE>((before(j, true) >> l_.Shift) |
                                               (before(j - 1, j > 0) << (8 - l_.Shift)));
            } else {
                placed_[k] = before(j, true);
            }
        }
        return placed_;
    }

  private:
    const PLANE& turned_;
    const LAYOUT& l_;
    BYTE placed_[kMaxHeadBytes];
};

bool AnyDot(const BYTE* bytes, size_t count) {
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof(word));
        if (word) {
            return true;
        }
    }
    for (; i < count; ++i) {
        if (bytes[i]) {
            return true;
        }
    }
    return false;
}

void SendRow(OutputBuffer& out, const LAYOUT& l, const IMAGESETTINGS& s, IMAGEWORK& work, int block,
             const BYTE* row) {
    const bool expand = s.Label->DriverExpand != 0;
    if (s.Label->Compress && static_cast<size_t>(l.Width) <= kMaxCodedRowDots) {
        const CODEDROW coded = CodeRow(row, l.RowBytes, work.ByteRuns, work.RunCodes);
        if (coded.Coding) {
            WriteCompressedRow(out, expand, block, coded.Coding, coded.Bytes, coded.Size);
            return;
        }
    }
    WriteRawRow(out, expand, block, row, l.RowBytes);
}

void SendHead(const PLANE& turned, const LAYOUT& l, int head, const IMAGESETTINGS& s, COMPARESTATE& compare,
              IMAGEWORK& work, OutputBuffer& out) {
    if (l.RowBytes == 0 || l.Width <= 0 || turned.Rows <= 0) {
        return; // moved entirely off the head
    }
    const bool expand = s.Label->DriverExpand != 0;
    const bool split = s.Label->BandSplit != 0 || expand;
    const LONG blockRows = split && s.Head.BlockRows > 0 ? s.Head.BlockRows : turned.Rows;
    const LONG blocks = (turned.Rows + blockRows - 1) / blockRows;
    BYTE* stored = compare.Buffers[head];
    if (stored && static_cast<unsigned long long>(turned.Rows) * l.RowBytes > compare.Bytes) {
        stored = nullptr; // cannot happen within the plane limit; never compare past the buffer
    }
    RowPlacer placer(turned, l);
    for (LONG b = 0; b < blocks; ++b) {
        const LONG first = b * blockRows;
        const LONG rows = turned.Rows - first < blockRows ? turned.Rows - first : blockRows;
        bool dots = false;
        bool changed = false;
        const size_t blockBytes = static_cast<size_t>(rows) * l.RowBytes;
        BYTE* kept = stored ? stored + static_cast<size_t>(first) * l.RowBytes : nullptr;
        if (placer.RowsLieInPlace()) {
            // The block's rows follow each other in the turned plane as they do in the buffer: one compare.
            const BYTE* block = placer.Row(first);
            dots = compare.FirstPage && AnyDot(block, blockBytes);
            if (kept && std::memcmp(kept, block, blockBytes) != 0) {
                changed = true;
                std::memcpy(kept, block, blockBytes);
            }
        } else {
            for (LONG r = first; r < first + rows; ++r) {
                const BYTE* row = placer.Row(r);
                dots = dots || (compare.FirstPage && AnyDot(row, l.RowBytes));
                BYTE* keptRow = kept ? kept + static_cast<size_t>(r - first) * l.RowBytes : nullptr;
                if (keptRow && std::memcmp(keptRow, row, l.RowBytes) != 0) {
                    changed = true;
                    std::memcpy(keptRow, row, l.RowBytes);
                }
            }
        }
        // Without a record of what the printer holds, every block is sent again.
        const bool send = compare.FirstPage ? dots : (stored ? changed : true);
        if (!send) {
            continue;
        }
        const LONG y = blocks == 1 ? 0 : b * (expand ? s.Head.BlockRows : s.Head.BlockStep);
        WriteBlockHeader(out, expand, b + 1, l.X, y, rows, l.Width);
        for (LONG r = first; r < first + rows; ++r) {
            SendRow(out, l, s, work, b + 1, placer.Row(r));
        }
    }
}

void Turned(const PLANE& plane, Turn turn, GROWBUFFER& buffer, PLANE* out) {
    if (turn == Turn::None) {
        *out = plane;
        return;
    }
    out->Bits = buffer.Data;
    switch (turn) {
    case Turn::CounterClockwise:
        TurnCounterClockwise(plane, out);
        break;
    case Turn::Clockwise:
        TurnClockwise(plane, out);
        break;
    default:
        TurnHalf(plane, out);
        break;
    }
}

} // namespace

void ReleaseImageWork(IMAGEWORK* work) {
    auto release = [](GROWBUFFER* b) {
        if (b->Data) {
            GlobalFree(b->Data);
        }
        *b = {};
    };
    for (GROWBUFFER& plane : work->Planes) {
        release(&plane);
    }
    release(&work->Turned);
}

ImageResult SendImage(const BANDBITS& band, const IMAGESETTINGS& settings, COMPARESTATE& compare,
                      IMAGEWORK& work, OutputBuffer& out) {
    if (band.Width <= 0 || band.Rows <= 0 || !band.Scan0) {
        return ImageResult::TooLarge;
    }
    PLANE planes[kHeadCount];
    const size_t planeBytes = static_cast<size_t>(band.Rows) * PlaneRowBytes(band.Width);
    if (static_cast<unsigned long long>(band.Rows) * PlaneRowBytes(band.Width) > kMaxPlaneBytes) {
        return ImageResult::TooLarge;
    }
    for (int h = 0; h < kHeadCount; ++h) {
        planes[h] = {nullptr, band.Width, band.Rows, PlaneRowBytes(band.Width)};
    }
    // Everything is measured before a byte is written, so an image that cannot go leaves no half of it.
    LAYOUT layouts[kHeadCount];
    size_t turnedBytes = 0;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!Layout(planes[h], h, settings, &layouts[h])) {
            return ImageResult::TooLarge;
        }
        if (layouts[h].Turning != Turn::None) {
            turnedBytes = static_cast<size_t>(layouts[h].TurnedRows) * layouts[h].TurnedRowBytes;
        }
    }
    for (int h = 0; h < kHeadCount; ++h) {
        if (!Grow(&work.Planes[h], planeBytes)) {
            return ImageResult::NoMemory;
        }
        planes[h].Bits = work.Planes[h].Data;
    }
    if (turnedBytes && !Grow(&work.Turned, turnedBytes)) {
        return ImageResult::NoMemory;
    }
#if defined(KT_PROFILE_A)
    const DWORD colors[2] = {settings.Label->HeadColor1, settings.Label->HeadColor2};
    SeparateHeadPlanes(band, colors, planes);
#else
    InvertedPlane(band, &planes[0]);
#endif
    for (int h = 0; h < kHeadCount; ++h) {
        if (kHeadCount > 1) {
            WriteHeadSelect(out, h + 1);
        }
        PLANE turned;
        Turned(planes[h], layouts[h].Turning, work.Turned, &turned);
        SendHead(turned, layouts[h], h, settings, compare, work, out);
    }
    compare.FirstPage = false;
    return ImageResult::Sent;
}
