#include "label_fields.h"

#include <limits>

namespace {

// LONG is 32-bit on Windows whatever the pointer width (and in the Linux build); the C library's
// LONG_MAX is not always its limit.
constexpr long long kLongMax = std::numeric_limits<LONG>::max();
constexpr long long kLongMin = std::numeric_limits<LONG>::min();

bool IsDigit(WCHAR c) {
    return c >= TEXT('0') && c <= TEXT('9');
}

// Adds a digit to a magnitude that stops growing once it is past every LONG, so that a field of
// hundreds of digits cannot overflow.
long long AddDigit(long long magnitude, WCHAR digit) {
    if (magnitude > kLongMax) {
        return magnitude;
    }
    return magnitude * 10 + (digit - TEXT('0'));
}

LONG Held(long long value) {
    return static_cast<LONG>(value > kLongMax ? kLongMax : (value < kLongMin ? kLongMin : value));
}

// Writes the decimal digits of magnitude at out[at...] and terminates.
void AppendDigits(unsigned long long magnitude, WCHAR (&out)[kFieldTextChars], size_t at) {
    WCHAR digits[kFieldTextChars];
    size_t n = 0;
    do {
        digits[n++] = static_cast<WCHAR>(TEXT('0') + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n > 0 && at + 1 < kFieldTextChars) {
        out[at++] = digits[--n];
    }
    out[at] = 0;
}

size_t Length(const WCHAR (&text)[kFieldTextChars]) {
    size_t n = 0;
    while (n < kFieldTextChars && text[n] != 0) {
        ++n;
    }
    return n;
}

} // namespace

void FormatTenths(LONG tenths, WCHAR (&out)[kFieldTextChars]) {
    const long long value = tenths;
    const unsigned long long magnitude = static_cast<unsigned long long>(value < 0 ? -value : value);
    size_t at = 0;
    if (value < 0) {
        out[at++] = TEXT('-');
    }
    AppendDigits(magnitude / 10, out, at);
    at = Length(out);
    out[at++] = TEXT('.');
    AppendDigits(magnitude % 10, out, at);
}

void FormatInteger(LONG value, WCHAR (&out)[kFieldTextChars]) {
    const long long v = value;
    size_t at = 0;
    if (v < 0) {
        out[at++] = TEXT('-');
    }
    AppendDigits(static_cast<unsigned long long>(v < 0 ? -v : v), out, at);
}

LONG ReadTenths(const WCHAR* text) {
    long long magnitude = 0;
    bool negative = false;
    bool tenths = false;
    for (size_t i = 0; text && i < kFieldReadChars && text[i] != 0; ++i) {
        const WCHAR c = text[i];
        if (IsDigit(c)) {
            magnitude = AddDigit(magnitude, c);
        } else if (c == TEXT('-')) {
            negative = true;
        } else if (c == TEXT('.')) {
            tenths = true;
        }
    }
    if (!tenths && magnitude <= kLongMax) {
        magnitude *= 10;
    }
    return Held(negative ? -magnitude : magnitude);
}

LONG ReadInteger(const WCHAR* text) {
    if (!text) {
        return 0;
    }
    size_t i = 0;
    auto blank = [](WCHAR c) { return c == TEXT(' ') || (c >= TEXT('\t') && c <= TEXT('\r')); };
    while (i < kFieldReadChars && blank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < kFieldReadChars && (text[i] == TEXT('+') || text[i] == TEXT('-'))) {
        negative = text[i] == TEXT('-');
        ++i;
    }
    long long magnitude = 0;
    for (; i < kFieldReadChars && IsDigit(text[i]); ++i) {
        magnitude = AddDigit(magnitude, text[i]);
    }
    return Held(negative ? -magnitude : magnitude);
}
