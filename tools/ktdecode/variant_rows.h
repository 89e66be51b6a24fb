// Builds the neutral rows of one profile's model table at compile time. Used only by the two
// translation units that read a profile header (variants_a.cpp, variants_b.cpp).
#pragma once

#include <array>
#include <cstddef>

#include "variants.h"

namespace ktdecode::detail {

template <typename Wide> constexpr bool IsPlaceholder(const Wide& name) {
    constexpr char kPlaceholder[] = "DISABLE";
    for (size_t i = 0; i < sizeof(kPlaceholder); ++i) {
        if (name[i] != static_cast<unsigned char>(kPlaceholder[i])) {
            return false;
        }
    }
    return true;
}

template <typename Row, size_t N> consteval size_t ListedCount(const Row (&rows)[N]) {
    size_t count = 0;
    for (const Row& row : rows) {
        count += IsPlaceholder(row.VariantName) ? 0 : 1;
    }
    return count;
}

// One row of a profile's variant table in the neutral form.
template <typename Row> constexpr Variant RowVariant(const Row& row, char profile, int headCount) {
    Variant v{};
    static_assert(sizeof(v.name) >= sizeof(row.VariantName) / sizeof(row.VariantName[0]));
    for (size_t i = 0; i < sizeof(row.VariantName) / sizeof(row.VariantName[0]); ++i) {
        if (row.VariantName[i] >= 0x80) {
            throw "variant names are plain ASCII";
        }
        v.name[i] = static_cast<char>(row.VariantName[i]);
    }
    v.profile = profile;
    v.dpi = static_cast<int>(row.Resolution.DpiX);
    v.dotsPer100mm = row.Head.DotsPer100mm;
    v.headWidthDots = row.Head.WidthDots;
    v.maxWidth = row.MaxWidth;
    v.blockRows = row.Head.BlockRows;
    v.blockStep = row.Head.BlockStep;
    v.headCount = headCount;
    return v;
}

template <size_t Count, typename Row, size_t N>
consteval std::array<Variant, Count> ListedRows(const Row (&rows)[N], char profile, int headCount) {
    std::array<Variant, Count> out{};
    size_t at = 0;
    for (const Row& row : rows) {
        if (!IsPlaceholder(row.VariantName)) {
            out[at++] = RowVariant(row, profile, headCount);
        }
    }
    return out;
}

// Each profile's translation unit defines one of these.
std::span<const Variant> ProfileAVariants();
std::span<const Variant> ProfileBVariants();

} // namespace ktdecode::detail
