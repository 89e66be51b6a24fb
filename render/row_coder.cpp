#include "row_coder.h"

#include <array>
#include <cstdint>

namespace {

constexpr size_t kCountBytes = 2;
constexpr size_t kMaxItem = 127;
constexpr BYTE kRepeatBase = 0x80;
constexpr size_t kGaveUp = SIZE_MAX;

void PutCount(BYTE* out, size_t count) {
    out[0] = static_cast<BYTE>(count);
    out[1] = static_cast<BYTE>(count >> 8);
}

// For every byte value, its runs of equal bits from the most significant bit on, alternating white (0)
// and black (1), white first; a byte that starts black has a white run of length 0 first. A row is
// walked a byte at a time: a byte's first run joins the run carried from the previous byte when the
// colours agree.
struct BYTERUNS {
    BYTE Count; // runs, the leading empty white run included
    BYTE Length[9];
};

constexpr std::array<BYTERUNS, 256> MakeRunTable() {
    std::array<BYTERUNS, 256> table{};
    for (int value = 0; value < 256; ++value) {
        BYTERUNS& runs = table[value];
        int colour = 0;
        int length = 0;
        for (int bit = 7; bit >= 0; --bit) {
            const int dot = (value >> bit) & 1;
            if (dot != colour) {
                runs.Length[runs.Count++] = static_cast<BYTE>(length);
                colour = dot;
                length = 0;
            }
            ++length;
        }
        runs.Length[runs.Count++] = static_cast<BYTE>(length);
    }
    return table;
}
constexpr std::array<BYTERUNS, 256> kRunTable = MakeRunTable();
static_assert(kRunTable[0x00].Count == 1 && kRunTable[0x00].Length[0] == 8);
static_assert(kRunTable[0xFF].Count == 2 && kRunTable[0xFF].Length[0] == 0 && kRunTable[0xFF].Length[1] == 8);
static_assert(kRunTable[0x0F].Count == 2 && kRunTable[0x0F].Length[0] == 4);
static_assert(kRunTable[0xAA].Count == 9 && kRunTable[0xAA].Length[0] == 0);

// Packs codes most significant bit first into zeroed bytes, counting bits; stops taking codes once the
// bytes written would reach the limit.
class BitWriter {
  public:
    BitWriter(BYTE* out, size_t limitBytes) : out_(out), limit_(limitBytes) {}
    bool Put(RUNCODE code) {
        if ((bits_ + code.Bits + 7) / 8 >= limit_) {
            return false;
        }
        for (UINT i = code.Bits; i-- > 0;) {
            if ((bits_ & 7) == 0) {
                out_[bits_ / 8] = 0;
            }
            if ((code.Code >> i) & 1) {
                out_[bits_ / 8] |= static_cast<BYTE>(0x80 >> (bits_ & 7));
            }
            ++bits_;
        }
        return true;
    }
    size_t Bits() const { return bits_; }

  private:
    BYTE* out_;
    size_t limit_;
    size_t bits_ = 0;
};

UINT BitLength(UINT v) {
    UINT n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

} // namespace

RUNCODE PrefixCode(UINT run) {
    const UINT v = run - 1;
    if (run <= 2) {
        return {2, 0x2 | v}; // a one, then r - 1 in one bit
    }
    // From 3 on: r - 1 in binary, after one zero fewer than its length in bits.
    const UINT length = BitLength(v);
    return {2 * length - 1, v};
}

size_t CodeByteRuns(const BYTE* row, size_t bytes, BYTE* out, size_t giveUp) {
    BYTE* items = out + kCountBytes;
    size_t used = 0;
    size_t literalAt = 0; // where the open literal item's length byte is
    size_t literal = 0;   // bytes in the open literal item
    const size_t limit = giveUp < kRowCodeBytes - kCountBytes ? giveUp : kRowCodeBytes - kCountBytes;
    for (size_t i = 0; i < bytes;) {
        size_t run = 1;
        while (i + run < bytes && run < kMaxItem && row[i + run] == row[i]) {
            ++run;
        }
        if (run >= 3) {
            if (used + 2 > limit) {
                return kGaveUp;
            }
            literal = 0;
            items[used++] = static_cast<BYTE>(kRepeatBase + run);
            items[used++] = row[i];
            i += run;
            continue;
        }
        // Pairs stay literal: a repeat item of two would save nothing.
        for (size_t k = 0; k < run; ++k) {
            if (literal == 0 || literal == kMaxItem) {
                if (used + 1 > limit) {
                    return kGaveUp;
                }
                literalAt = used++;
                literal = 0;
            }
            if (used + 1 > limit) {
                return kGaveUp;
            }
            items[used++] = row[i + k];
            items[literalAt] = static_cast<BYTE>(++literal);
        }
        i += run;
    }
    if (used >= giveUp) {
        return kGaveUp;
    }
    PutCount(out, used);
    return used;
}

size_t CodeRuns(const BYTE* row, size_t bytes, BYTE* out, size_t giveUp, bool* startsBlack) {
    *startsBlack = bytes > 0 && (row[0] & 0x80) != 0;
    if (bytes == 0 || bytes > kMaxCodedRowBytes) {
        return kGaveUp;
    }
    const size_t limit = giveUp < kRowCodeBytes - kCountBytes ? giveUp : kRowCodeBytes - kCountBytes;
    BitWriter codes(out + kCountBytes, limit);
    // The run being gathered: its colour and its length so far. Colours alternate from white, so the
    // colour of a run is the parity of its position in the row.
    int colour = *startsBlack ? 1 : 0;
    UINT length = 0;
    for (size_t i = 0; i < bytes; ++i) {
        const BYTERUNS& runs = kRunTable[row[i]];
        // The table counts from a white run; when the carried run is black, the byte's first (white)
        // run is the one that differs from it.
        for (int r = 0; r < runs.Count; ++r) {
            const int runColour = r & 1;
            const UINT runLength = runs.Length[r];
            if (runLength == 0) {
                continue;
            }
            if (runColour == colour) {
                length += runLength;
            } else {
                if (length > 0 && !codes.Put(PrefixCode(length))) {
                    return kGaveUp;
                }
                colour = runColour;
                length = runLength;
            }
        }
    }
    // The last run takes the row's padding bits, which are part of its bytes.
    if (!codes.Put(PrefixCode(length))) {
        return kGaveUp;
    }
    const size_t codeBytes = (codes.Bits() + 7) / 8;
    if (codeBytes >= giveUp) {
        return kGaveUp;
    }
    PutCount(out, codes.Bits());
    return codes.Bits();
}

CODEDROW CodeRow(const BYTE* row, size_t bytes, BYTE* byteRuns, BYTE* runCodes) {
    // A form is used only if it saves more than its framing: b + 3 < n. Coding stops as soon as it
    // cannot, and a coding that stopped counts as longer than any that finished.
    if (bytes <= 4 || bytes > kMaxCodedRowBytes) {
        return {0, row, bytes};
    }
    const size_t useless = bytes - 3;
    bool black = false;
    const size_t b1 = CodeByteRuns(row, bytes, byteRuns, useless);
    const size_t bits = CodeRuns(row, bytes, runCodes, useless, &black);
    const size_t b2 = bits == kGaveUp ? kGaveUp : (bits + 7) / 8;
    if (b1 == kGaveUp && b2 == kGaveUp) {
        return {0, row, bytes};
    }
    if (b1 >= b2) {
        return {black ? ROWCODE_RUNS_FROM_BLACK : ROWCODE_RUNS_FROM_WHITE, runCodes, kCountBytes + b2};
    }
    return {ROWCODE_BYTE_RUNS, byteRuns, kCountBytes + b1};
}
