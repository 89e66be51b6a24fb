// Profile A's rows of the variant table. The profile header is read inside a namespace of its own:
// profile B's header defines the same type and table names, and both end up in one program.
#include "model_types.h"

namespace profile_a {
#include "profile_a.h"
}

#include "variant_rows.h"

namespace ktdecode::detail {

namespace {
constexpr size_t kCount = ListedCount(profile_a::kVariants);
constexpr std::array<Variant, kCount> kRows =
    ListedRows<kCount>(profile_a::kVariants, 'A', profile_a::kHeadCount);
} // namespace

std::span<const Variant> ProfileAVariants() {
    return kRows;
}

} // namespace ktdecode::detail
