// Model-table entries that both profiles share.
#pragma once

#include "model_types.h"

inline constexpr INPUTSLOTINFO kInputSlots[] = {
    {TEXT("Cassette"), 14, 64026},
    {TEXT("ManualFeed"), 4, 64094},
};

inline constexpr MEDIATYPEINFO kMediaTypes[] = {
    {TEXT("Plain paper"), 1},
    {TEXT("Transparency"), 2},
    {TEXT("Glossy paper"), 3},
};

// Indexed by HandlingSelector; the order is the order of the device-extension fields.
inline constexpr HANDLINGSELECTOR kHandlingSelectors[SELECTOR_COUNT] = {
    {1027, 2, {HANDLING_NOT_SUPPORTED, HANDLING_PRINT_PROCESSOR}},
    {2009, 2, {HANDLING_NOT_SUPPORTED, HANDLING_PRINT_PROCESSOR}},
    {2012, 2, {HANDLING_NOT_SUPPORTED, HANDLING_PRINT_PROCESSOR}},
    {2015, 2, {HANDLING_PRINTER, HANDLING_PRINT_PROCESSOR}},
};

inline constexpr LONG kMaxCopies = 9999;
inline constexpr LONG kMinCustomWidth = 10; // 0.1 mm, every variant
inline constexpr LONG kMinCustomLength = 10;
inline constexpr DWORD kStandardLabelId = 257;
inline constexpr DWORD kUserDefinedLabelId = 256;
inline constexpr DWORD kFirstStoredLabelId = 32767; // stored labels count down from here
inline constexpr int kMaxLabels = 250;
inline constexpr int kLabelNameChars = 64; // including the NUL
inline constexpr WCHAR kUserDefinedLabelName[] = TEXT("ユーザー定義");
inline constexpr DWORD kResolutionIconId = 64037;
