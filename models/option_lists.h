// The device options page's lists, per variant: the print speeds, densities and head voltages a label
// can ask for, as the page shows them. A label keeps the index of its entry, and the printer receives
// that index, so the order of every list is the printer's.
#pragma once

#include "profile.h"

inline constexpr int kMaxSpeeds = 10;
inline constexpr int kMaxDensities = 30;
inline constexpr int kMaxVoltages = 10;

// Each list ends at its first empty (null) entry.
struct OPTIONLISTS {
    const WCHAR* Speeds[kMaxSpeeds];
    const WCHAR* Densities[kMaxDensities];
    const WCHAR* Voltages[kMaxVoltages];
};

#if defined(KT_PROFILE_A)
#include "option_lists_a.h"
#else
#include "option_lists_b.h"
#endif

static_assert(sizeof(kOptionLists) / sizeof(kOptionLists[0]) == kVariantCount,
              "one set of lists per variant");
