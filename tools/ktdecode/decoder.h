// ktdecode: the virtual printer. Reads a printer command stream (STX/ETX framed commands) back into
// the labels a printer of the chosen variant would print, for both model profiles.
//
// The printer it models:
// - Framing: 02, a command byte, the fields, 03. Text commands end at their 03. Image rows carry binary
//   data that may hold 02 and 03, so their length comes from their fields: a raw row ("I", "$") has
//   exactly ceil(D / 8) bytes, D being the dot width in its block's header; a compressed row ("i", "%")
//   has the mode digit, a 16-bit little-endian count, then that many item bytes (mode "1") or
//   (count + 7) / 8 bytes of run codes (modes "2", "3", the count being code bits).
// - Numeric fields are read as the driver's C formats write them: a field wider than its minimum width
//   has no leading zero, so "%04d" reads "0300", "-005", "12750" and "-1700" but not "00300". Where a
//   text splits into its fields more than one way, a reading must be unique:
//   - label format: width, length and gap ("%03d" each) when the digits split that way, else the gap
//     alone (the driver leaves the size out for a label rotation outside 0..3);
//   - block header: the readings of B X Y R D whose Y agrees with the block number, Y = (B - 1) x the
//     block step in 0.1 mm ("M") or x the block rows in dots ("#"), with B, R and D at least 1.
//   More than one reading of a block header is reported as an ambiguous command; a label format whose
//   sizes read more than one way (a size of 1000 mm or more) gives a warning and a label without a size.
// - The label: its format's first size field is the extent across the head, the second along the
//   feed, in whole mm; mm become dots as mm x 10 x dots-per-100mm / 1000, truncated. The printer
//   centres a label on the head's maximum print width M: the label's left edge is at head position
//   (M - across) / 2 in 0.1 mm (negative for a label wider than M). A label format without a size
//   gives a label that is the extent of the image blocks: from the leftmost block X to the rightmost
//   block end, and from feed row 0 to the lowest block end; so does a stream without a label format.
// - Image blocks: X and Y are in 0.1 mm for "M" blocks and in dots for "#" (driver expansion) blocks.
//   Bit k of a block's row r (most significant bit of the first byte is bit 0; bits past D are not
//   dots) prints at head dot X + k, feed row Y + r. In the label's image that is x = X + k - left edge,
//   y = Y + r. Dots outside the label are dropped and counted per page and head.
// - The printer keeps image blocks per head by block number, across pages. A block header replaces the
//   block of its number (position, size and rows start blank); a block not sent again keeps its
//   content. Reset (02 18 03) and a label format start a job and clear the blocks.
// - Order: a block header is followed by exactly its R rows, top to bottom, each naming the block and
//   carrying its command letter's kind ("I"/"i" rows for "M" blocks, "$"/"%" for "#" blocks); nothing
//   else comes between. After a label format "F" the blocks are "M" blocks, after "f" "#" blocks. In
//   profile A image data goes to the head chosen by the last head select ("h1", "h2"), and a block
//   before any head select is an error; profile B has one head and no head select.
// - Pages: "S" Q prints Q labels, 02 0D 03 prints one. Print commands with no other command between them
//   make one page, printed as many times as they add up to; its image is what the kept blocks hold
//   when the first of them arrives. A page's bytes on the wire run from the end of the previous page
//   (or the stream start) to the end of its last print command.
//
// Caps keep a hostile stream from taking unbounded memory; a stream that goes past one is an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "variants.h"

namespace ktdecode {

struct Caps {
    int64_t maxLabelDots = int64_t{1} << 26;  // dots of one label image, per head (64 Mi: 500 x 500 mm fits)
    int maxBlockNumber = 0xFFF;               // so at most 4095 blocks kept per head
    int64_t maxBlockBytes = 4'000'000;        // rows x row bytes of one block: the driver's plane buffer
    int64_t maxKeptBytes = int64_t{64} << 20; // row bytes of all blocks kept, both heads
    int64_t maxResultDots = int64_t{1} << 28; // label dots the collecting Decode keeps, all pages
    size_t maxStreamBytes = size_t{1} << 31;
};

struct Options {
    std::string model = kDefaultModel; // a variant name, see Variants()
    // A printer described directly instead of by name: a head no named variant has (a table slot that
    // keeps the numbering of installed printers, say). Used instead of `model` when set.
    const Variant* variant = nullptr;
    Caps caps;
};

enum class CommandKind {
    Reset,         // 02 18 03
    LabelFormat,   // "F" / "f"
    PositionCut,   // "W"
    PrintSettings, // "A"
    HeadSelect,    // "h"
    BlockHeader,   // "M" / "#"
    RawRow,        // "I" / "$"
    CompressedRow, // "i" / "%"
    PrintCount,    // "S"
    PrintOne,      // 02 0D 03
    FinalCut,      // 02 12 03
};

// One command as received. `fields` holds its numeric fields in wire order:
//   LabelFormat: across mm, along mm, gap (0.1 mm), or only the gap when `sized` is false (nothing when
//   the fields read more than one way);
//   PositionCut: position, cut position (0.1 mm), cut count, cut adjust (nothing when the fields read
//   more than one way);
//   PrintSettings: speed, then density and voltage per head (list indices; nothing when the fields read
//   more than one way);
//   HeadSelect: head; BlockHeader: B, X, Y, R, D; rows: block; PrintCount: Q.
struct Command {
    size_t offset = 0; // of its 02
    size_t size = 0;   // bytes, framing included
    CommandKind kind = CommandKind::Reset;
    uint8_t letter = 0;     // the command byte
    bool expansion = false; // a driver-expansion letter: f # $ %
    bool sized = true;      // LabelFormat only: the size fields were sent
    std::vector<int64_t> fields;
    std::string text; // readable, e.g. "row 3 of block 02: mode 2, 11 bits -> 2 bytes"
    // Image rows only.
    int head = 0;          // 1 or 2
    int block = 0;         // block number
    int row = 0;           // from 0
    int mode = 0;          // 0 raw, else the mode digit 1, 2 or 3
    size_t count = 0;      // the coded row's count field
    size_t dataOffset = 0; // where the row bytes (raw) or coded bytes (after the count) lie in the stream
    size_t dataSize = 0;
};

// A label as one head prints it: one byte per dot, 1 where a dot prints, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;
    bool At(int x, int y) const { return dots[static_cast<size_t>(y) * width + x] != 0; }
};

// The image as text rows, `dot` where a dot prints: for tests and listings of small labels.
std::vector<std::string> ImageRows(const Image& image, char dot = '#', char blank = '.');

struct HeadPage {
    std::vector<int> blocksSent; // block numbers received for this page, in order
    Image image;
    int64_t droppedDots = 0;          // dots of the kept blocks that fall outside the label
    std::vector<int> blocksWithDrops; // which blocks they came from
};

struct Page {
    int number = 0;       // from 1
    size_t firstByte = 0; // the page's bytes on the wire: [firstByte, firstByte + bytes)
    size_t bytes = 0;
    int64_t copies = 0;          // labels printed from it
    bool sized = true;           // the label size came from the label format (else: the blocks' extent)
    int64_t originX = 0;         // head dot of image column 0
    int64_t originY = 0;         // feed row of image row 0
    std::vector<HeadPage> heads; // [0] head 1, [1] head 2
};

struct Error {
    size_t offset = 0;        // the byte where the fault shows
    size_t commandOffset = 0; // the 02 of the command it is in
    std::string command;      // e.g. "block header M"; empty where no command could be read
    std::string expected;     // what the printer expected, and what it found
    std::string Message() const;
};

struct Warning {
    size_t offset = 0;
    std::string text;
};

struct Result {
    bool ok = false;
    Error error; // when !ok; the commands and pages before the fault are still there
    const Variant* variant = nullptr;
    std::vector<Command> commands;
    std::vector<Page> pages;
    std::vector<Warning> warnings; // e.g. image data after the last print command
};

// Receives commands and pages as the decoder meets them, for streams too long to keep whole.
class Observer {
  public:
    virtual ~Observer() = default;
    // `rowDots`: for image rows, the decoded row (ceil(D / 8) bytes, dots most significant bit first).
    virtual void OnCommand(const Command& command, std::span<const uint8_t> rowDots) {
        (void)command;
        (void)rowDots;
    }
    virtual void OnPage(const Page& page) { (void)page; }
};

// Decodes a whole stream, keeping every command and every page's images in the Result (the images
// within caps.maxResultDots).
Result Decode(std::span<const uint8_t> stream, const Options& options = {});

// Decodes a stream, handing each command and page to `observer`; the Result keeps the error, the
// warnings and the pages without their images (no commands).
Result Decode(std::span<const uint8_t> stream, const Options& options, Observer& observer);

} // namespace ktdecode
