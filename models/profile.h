// Selects the model profile of this build. Each library is built once per profile; the
// profile comes in as KT_PROFILE_A or KT_PROFILE_B.
#pragma once

#if defined(KT_PROFILE_A) && !defined(KT_PROFILE_B)
#include "profile_a.h"
#elif defined(KT_PROFILE_B) && !defined(KT_PROFILE_A)
#include "profile_b.h"
#else
#error "define exactly one of KT_PROFILE_A and KT_PROFILE_B"
#endif

#include "common_tables.h"

inline constexpr int kVariantCount = static_cast<int>(sizeof(kVariants) / sizeof(kVariants[0]));

// The widest head of the profile, in bytes of a row. Every head is a whole number of bytes wide.
inline constexpr size_t kMaxHeadBytes = [] {
    LONG widest = 0;
    for (const VARIANTINFO& v : kVariants) {
        widest = v.Head.WidthDots > widest ? v.Head.WidthDots : widest;
    }
    return static_cast<size_t>(widest / 8);
}();
static_assert([] {
    for (const VARIANTINFO& v : kVariants) {
        if (v.Head.WidthDots % 8 != 0) {
            return false;
        }
    }
    return true;
}());
