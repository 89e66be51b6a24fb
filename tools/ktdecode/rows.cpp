#include "rows.h"

#include <algorithm>

namespace ktdecode {

namespace {

constexpr int kMinRepeat = 3;
// Runs never exceed the widest row the driver compresses (4,096 dots): r - 1 fits in 12 bits.
constexpr int kMaxCodeZeros = 11;

std::string Str(size_t v) {
    return std::to_string(v);
}

} // namespace

std::optional<RowFault> DecodeByteRuns(std::span<const uint8_t> items, std::span<uint8_t> row) {
    size_t out = 0;
    size_t at = 0;
    while (at < items.size()) {
        const uint8_t head = items[at];
        if (head >= 0x80) {
            const int k = head - 0x80;
            if (k < kMinRepeat) {
                return RowFault{at, "repeat item of " + Str(k) + " bytes (a repeat stands for 3 to 127)"};
            }
            if (at + 1 >= items.size()) {
                return RowFault{at, "repeat item without its byte: the item bytes end"};
            }
            if (out + k > row.size()) {
                return RowFault{at, "items overrun the row: a repeat of " + Str(k) + " bytes at row byte " +
                                        Str(out) + " of " + Str(row.size())};
            }
            std::fill_n(row.begin() + out, k, items[at + 1]);
            out += k;
            at += 2;
        } else {
            const size_t k = head;
            if (k == 0) {
                return RowFault{at, "literal item of 0 bytes (a literal stands for 1 to 127)"};
            }
            if (items.size() - at - 1 < k) {
                return RowFault{at, "literal item of " + Str(k) + " bytes runs past the item bytes (" +
                                        Str(items.size() - at - 1) + " left)"};
            }
            if (out + k > row.size()) {
                return RowFault{at, "items overrun the row: a literal of " + Str(k) + " bytes at row byte " +
                                        Str(out) + " of " + Str(row.size())};
            }
            std::copy_n(items.begin() + at + 1, k, row.begin() + out);
            out += k;
            at += 1 + k;
        }
    }
    if (out != row.size()) {
        return RowFault{items.size(),
                        "items make " + Str(out) + " of the row's " + Str(row.size()) + " bytes"};
    }
    return std::nullopt;
}

std::optional<int> ReadRunLength(std::span<const uint8_t> code, size_t bitCount, size_t& bit,
                                 std::string* why) {
    bitCount = std::min(bitCount, code.size() * 8);
    auto next = [&](int& b) {
        if (bit >= bitCount) {
            return false;
        }
        b = (code[bit / 8] >> (7 - bit % 8)) & 1;
        ++bit;
        return true;
    };
    auto fail = [&](const char* what) -> std::optional<int> {
        if (why) {
            *why = what;
        }
        return std::nullopt;
    };
    int b = 0;
    if (!next(b)) {
        return fail("the code bits end before a run code");
    }
    if (b == 1) {
        return next(b) ? std::optional<int>(1 + b) : fail("the code bits end inside a run code");
    }
    int zeros = 1;
    for (;;) {
        if (!next(b)) {
            return fail("the code bits end inside a run code");
        }
        if (b == 1) {
            break;
        }
        if (++zeros > kMaxCodeZeros) {
            return fail("a run code with more than 11 leading zeros (runs are at most 4096 dots)");
        }
    }
    // The 1 just read is the top bit of the run length less one; `zeros` more bits follow.
    int value = 1;
    for (int i = 0; i < zeros; ++i) {
        if (!next(b)) {
            return fail("the code bits end inside a run code");
        }
        value = value * 2 + b;
    }
    return value + 1;
}

std::optional<RowFault> DecodeRunCodes(std::span<const uint8_t> code, size_t bitCount, bool startBlack,
                                       std::span<uint8_t> row) {
    const size_t dots = row.size() * 8;
    std::fill(row.begin(), row.end(), uint8_t{0});
    size_t bit = 0;
    size_t filled = 0;
    bool black = startBlack;
    while (bit < bitCount) {
        const size_t codeStart = bit;
        std::string why;
        std::optional<int> run = ReadRunLength(code, bitCount, bit, &why);
        if (!run) {
            return RowFault{codeStart / 8, why + " (at code bit " + Str(codeStart) + ")"};
        }
        if (filled + *run > dots) {
            return RowFault{codeStart / 8, "runs overrun the row: a " +
                                               std::string(black ? "black" : "white") + " run of " +
                                               Str(*run) + " at dot " + Str(filled) + " of " + Str(dots)};
        }
        if (black) {
            for (size_t d = filled; d < filled + *run; ++d) {
                row[d / 8] |= static_cast<uint8_t>(0x80 >> (d % 8));
            }
        }
        filled += *run;
        black = !black;
    }
    if (filled != dots) {
        return RowFault{(bitCount + 7) / 8, "runs cover " + Str(filled) + " of the row's " + Str(dots) +
                                                " dots (" + Str(row.size()) + " bytes)"};
    }
    return std::nullopt;
}

} // namespace ktdecode
