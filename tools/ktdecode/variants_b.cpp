// Profile B's rows of the variant table. The profile header is read inside a namespace of its own:
// profile A's header defines the same type and table names, and both end up in one program.
#include "model_types.h"

namespace profile_b {
#include "profile_b.h"
}

#include "variant_rows.h"

namespace ktdecode::detail {

namespace {
constexpr size_t kCount = ListedCount(profile_b::kVariants);
constexpr std::array<Variant, kCount> kRows =
    ListedRows<kCount>(profile_b::kVariants, 'B', profile_b::kHeadCount);
} // namespace

std::span<const Variant> ProfileBVariants() {
    return kRows;
}

} // namespace ktdecode::detail
