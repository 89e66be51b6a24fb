// The printer's bidirectional channel: schema values asked of the printer through the spooler's bidi
// objects, and notifications the printer sends, read from their XML text.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstddef>

#include "global_buffer.h"

inline constexpr size_t kBidiPathChars = 260;  // 259 characters and the terminating zero
inline constexpr size_t kBidiValueBytes = 520; // a u32, or up to 259 characters and a zero, or raw bytes
inline constexpr size_t kBidiTextChars = kBidiValueBytes / sizeof(WCHAR);
inline constexpr DWORD kNotificationRecords = 5; // a notification is read into at most this many records

// One schema value. Arrays of them are zero-filled when allocated.
struct BIDIVALUE {
    WCHAR Path[kBidiPathChars];
    DWORD Type; // BIDI_NULL .. BIDI_BLOB
    BYTE Value[kBidiValueBytes];
};
static_assert(sizeof(BIDIVALUE) == 1044 && offsetof(BIDIVALUE, Type) == 520 &&
              offsetof(BIDIVALUE, Value) == 524);

// The u32 value of an integer or boolean record.
DWORD BidiValueNumber(const BIDIVALUE& record);

// The schema paths the printer offers. With records, the paths of up to capacity results are stored in
// them. Returns the number of results, or, when a result cannot be read, that result's index.
DWORD EnumerateBidiSchema(LPCWSTR printerName, BIDIVALUE* records, DWORD capacity);

// Asks the printer for the value at record->Path; on success the record holds its type and value. TRUE only
// for BIDI_INT, BIDI_FLOAT, BIDI_BOOL, BIDI_STRING and BIDI_TEXT answers.
BOOL GetBidiValue(LPCWSTR printerName, BIDIVALUE* record);

// Reads a notification's XML text into at most capacity records (allocated into out, zero-filled) and
// returns how many it filled. Uses the XML document object on the calling thread's COM.
DWORD ReadBidiNotification(LPCWSTR text, DWORD capacity, GlobalBuffer* out);
