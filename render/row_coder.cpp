#include "row_coder.h"

#include <array>
#include <bit>
#include <cstring>
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

// Packs codes most significant bit first, counting bits; stops taking codes once the bytes written would
// reach the limit. Codes are at most 23 bits, so the bits not yet written stay below 31.
class BitWriter {
  public:
    BitWriter(BYTE* out, size_t limitBytes) : out_(out), limit_(limitBytes) {}
    bool Put(RUNCODE code) {
        pending_ = (pending_ << code.Bits) | code.Code;
        pendingBits_ += code.Bits;
        while (pendingBits_ >= 8) {
            pendingBits_ -= 8;
            if (written_ == limit_) {
                return false;
            }
            out_[written_++] = static_cast<BYTE>(pending_ >> pendingBits_);
        }
        return written_ + (pendingBits_ ? 1 : 0) < limit_;
    }
    // Writes the last, partial byte; the bits after the codes are zero.
    void Finish() {
        if (pendingBits_) {
            out_[written_++] = static_cast<BYTE>(pending_ << (8 - pendingBits_));
            pendingBits_ = 0;
        }
    }
    size_t Bits() const { return written_ * 8 + pendingBits_; }

  private:
    BYTE* out_;
    size_t limit_;
    size_t written_ = 0;
    uint64_t pending_ = 0;
    UINT pendingBits_ = 0;
};

inline RUNCODE Prefix(UINT run) {
    const UINT v = run - 1;
    if (run <= 2) {
        return {2, 0x2 | v}; // a one, then r - 1 in one bit
    }
    // From 3 on: r - 1 in binary, after one zero fewer than its length in bits.
    const UINT length = static_cast<UINT>(std::bit_width(v));
    return {2 * length - 1, v};
}

uint64_t Load64(const BYTE* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

} // namespace

RUNCODE PrefixCode(UINT run) {
    return Prefix(run);
}

size_t CodeByteRuns(const BYTE* row, size_t bytes, BYTE* out, size_t giveUp) {
    BYTE* items = out + kCountBytes;
    size_t used = 0;
    size_t literalAt = 0; // where the open literal item's length byte is
    size_t literal = 0;   // bytes in the open literal item
    const size_t limit = giveUp < kRowCodeBytes - kCountBytes ? giveUp : kRowCodeBytes - kCountBytes;
    for (size_t i = 0; i < bytes;) {
        size_t run = 1;
        const uint64_t same = 0x0101010101010101ULL * row[i];
        while (i + run + 8 <= bytes && run + 8 <= kMaxItem && Load64(row + i + run) == same) {
            run += 8;
        }
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
    // The run being gathered: its colour and its length so far. A byte all of the run's colour (eight
    // of them at a time where they come in words, as white does on a label) only lengthens it; any
    // other byte is walked through its runs from the table, its first run joining the carried one when
    // the colours agree.
    int colour = *startsBlack ? 1 : 0;
    UINT length = 0;
    for (size_t i = 0; i < bytes;) {
        const BYTE same = colour ? 0xFF : 0x00;
        if (row[i] == same) {
            const uint64_t sameWord = colour ? ~0ULL : 0ULL;
            ++i;
            length += 8;
            while (i + 8 <= bytes && Load64(row + i) == sameWord) {
                i += 8;
                length += 64;
            }
            continue;
        }
        // The byte's first run joins the carried one when the colours agree; the runs after it alternate,
        // so each of them ends the run before it.
        const BYTERUNS& runs = kRunTable[row[i]];
        int r = runs.Length[0] == 0 ? 1 : 0;
        if ((r & 1) == colour) {
            length += runs.Length[r];
        } else {
            if (!codes.Put(Prefix(length))) {
                return kGaveUp;
            }
            length = runs.Length[r];
        }
        for (++r; r < runs.Count; ++r) {
            if (!codes.Put(Prefix(length))) {
                return kGaveUp;
            }
            length = runs.Length[r];
        }
        colour = (runs.Count - 1) & 1;
        ++i;
    }
    // The last run takes the row's padding bits, which are part of its bytes.
    if (!codes.Put(Prefix(length))) {
        return kGaveUp;
    }
    const size_t bits = codes.Bits();
    codes.Finish();
    if ((bits + 7) / 8 >= giveUp) {
        return kGaveUp;
    }
    PutCount(out, bits);
    return bits;
}

CODEDROW CodeRow(const BYTE* row, size_t bytes, BYTE* byteRuns, BYTE* runCodes) {
    // A form is used only if it saves more than its framing: b + 3 < n. Coding stops as soon as it
    // cannot, and a coding that stopped counts as longer than any that finished.
    if (bytes <= 4 || bytes > kMaxCodedRowBytes) {
        return {0, row, bytes};
    }
    const size_t useless = bytes - 3;
    bool black = false;
    const size_t bits = CodeRuns(row, bytes, runCodes, useless, &black);
    const size_t b2 = bits == kGaveUp ? kGaveUp : (bits + 7) / 8;
    // Byte runs win only when strictly shorter, so their coding can stop as soon as it reaches b2; and
    // they take two bytes at least for every 127 bytes of the row, so some rows need not try at all.
    const size_t fewestItemBytes = 2 * ((bytes + kMaxItem - 1) / kMaxItem);
    const size_t b1 =
        b2 <= fewestItemBytes ? kGaveUp : CodeByteRuns(row, bytes, byteRuns, b2 < useless ? b2 : useless);
    if (b1 == kGaveUp && b2 == kGaveUp) {
        return {0, row, bytes};
    }
    if (b1 >= b2) {
        return {black ? ROWCODE_RUNS_FROM_BLACK : ROWCODE_RUNS_FROM_WHITE, runCodes, kCountBytes + b2};
    }
    return {ROWCODE_BYTE_RUNS, byteRuns, kCountBytes + b1};
}
