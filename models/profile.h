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
