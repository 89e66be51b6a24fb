// How the label page shows its numbers and reads back what the user left in its edit fields. The
// fields accept any characters; these rules decide what counts, so a value is never refused, only read.
#pragma once

#include <windows.h>

#include <cstddef>

// A field is read from at most this many characters of its text.
inline constexpr size_t kFieldReadChars = 520;

// Room for any LONG shown by either format, with its terminator.
inline constexpr size_t kFieldTextChars = 16;

// 0.1 mm as whole millimetres, "." and the tenths digit: 125 shows "12.5", -5 shows "-0.5".
void FormatTenths(LONG tenths, WCHAR (&out)[kFieldTextChars]);

// A whole number as "%ld" shows it.
void FormatInteger(LONG value, WCHAR (&out)[kFieldTextChars]);

// A tenths field: its digits, in order, make one number and everything but digits, "." and "-" is
// ignored; any "-" makes it negative; with a "." the number is in 0.1 mm, else in whole millimetres.
// "12.5" reads 125, "12" reads 120, "-0.5" reads -5. Held to the LONG range.
LONG ReadTenths(const WCHAR* text);

// An integer field, as a standard decimal conversion reads it: blanks skipped, an optional sign, then
// the digits up to the first other character; no digit reads 0. Held to the LONG range.
LONG ReadInteger(const WCHAR* text);
