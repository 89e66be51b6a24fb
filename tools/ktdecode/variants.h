// The printer variants of both model profiles, in one neutral table, so that one decoder serves every
// printer: the variant is picked at run time by its name.
#pragma once

#include <span>
#include <string_view>

namespace ktdecode {

struct Variant {
    char name[16];     // as in driver names: "KT-508W", "KT-936U-12"
    char profile;      // 'A' (two heads) or 'B' (one head)
    int dpi;           // the rounded figure the driver reports; the head works in DotsPer100mm
    int dotsPer100mm;  // across and along the feed
    int headWidthDots; // dots across the head
    int maxWidth;      // 0.1 mm: the widest label; the printer centres every label on this width
    int blockRows;     // rows of an image block when an image is sent in blocks
    int blockStep;     // 0.1 mm between the tops of two blocks
    int headCount;
};

// Profile A's variants, then profile B's, each in its table order; placeholder slots that keep the
// index numbering of installed printers are left out.
std::span<const Variant> Variants();

// Exact name, compared without regard to letter case; nullptr when no variant has it.
const Variant* FindVariant(std::string_view name);

// The model a decode uses when none is named: the first variant of profile A.
inline constexpr char kDefaultModel[] = "KT-508W";

// A length in 0.1 mm as head dots, truncated toward zero, as the printer converts positions.
inline long long TenthsToDots(long long tenths, const Variant& v) {
    return tenths * v.dotsPer100mm / 1000;
}

} // namespace ktdecode
