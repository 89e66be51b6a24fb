// Command fields are read back exactly as the driver's C formats write them, and only so: that rule
// is what lets a reader split fields that have no separators.
#include <gtest/gtest.h>

#include "fields.h"

namespace {

using ktdecode::FieldFormat;
using ktdecode::FieldLayout;

constexpr FieldLayout kDec4{"X", FieldFormat::Decimal, 4};
constexpr FieldLayout kSigned4{"P", FieldFormat::Signed, 4};
constexpr FieldLayout kHex2{"B", FieldFormat::Hex, 2};

TEST(Fields, ReadOnlyAsTheirFormatWritesThem) {
    struct Case {
        const char* text;
        FieldLayout layout;
        bool ok;
        int64_t value;
    } cases[] = {
        {"0300", kDec4, true, 300},
        {"12750", kDec4, true, 12750},
        {"-1700", kDec4, true, -1700},
        {"-005", kDec4, true, -5},
        {"0000", kDec4, true, 0},
        {"00300", kDec4, false, 0},
        {"300", kDec4, false, 0},
        {"-0005", kDec4, false, 0},
        {"-000", kDec4, false, 0},
        {"+300", kDec4, false, 0},
        {"2147483647", kDec4, true, 2147483647},
        {"2147483648", kDec4, false, 0},
        {"+005", kSigned4, true, 5},
        {"-120", kSigned4, true, -120},
        {"+000", kSigned4, true, 0},
        {"+1234", kSigned4, true, 1234},
        {"0005", kSigned4, false, 0},
        {"+0005", kSigned4, false, 0},
        {"0A", kHex2, true, 10},
        {"FF", kHex2, true, 255},
        {"100", kHex2, true, 256},
        {"0a", kHex2, false, 0},
        {"010", kHex2, false, 0},
        {"A", kHex2, false, 0},
        {"-1", kHex2, false, 0},
        {"", kDec4, false, 0},
        {"-", kDec4, false, 0},
    };
    for (const Case& c : cases) {
        int64_t v = -99;
        EXPECT_EQ(ktdecode::ReadField(c.text, c.layout, v), c.ok)
            << "'" << c.text << "' as " << c.layout.name;
        EXPECT_EQ(v, c.ok ? c.value : -99) << "'" << c.text << "'";
    }
}

TEST(Fields, SplitsAreEveryReadingFieldByField) {
    constexpr FieldLayout kRD[] = {{"R", FieldFormat::Decimal, 4}, {"D", FieldFormat::Decimal, 4}};
    auto all = [](std::span<const int64_t>) { return true; };
    // Padding only pads up to the width, so the widths alone settle this one.
    auto one = ktdecode::SplitsWhere("100001000", kRD, all);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (std::vector<int64_t>{10000, 1000}));
    // Ten ones read three ways; the reader stops at the second.
    EXPECT_EQ(ktdecode::SplitsWhere("1111111111", kRD, all).size(), 2u);
    EXPECT_TRUE(ktdecode::SplitsWhere("0001000", kRD, all).empty());
    auto wide =
        ktdecode::SplitsWhere("1111111111", kRD, [](std::span<const int64_t> v) { return v[0] > 99999; });
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0], (std::vector<int64_t>{111111, 1111}));
}

} // namespace
