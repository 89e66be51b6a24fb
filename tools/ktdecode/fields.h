// Numeric fields of the printer's text commands. Fields follow each other with no separator and are
// written with C formats that only give a minimum width ("%04d", "%+04d", "%02X"): a wider value is
// written in full. So a command's text can split into its fields in more than one way, and a reader
// has to try the splits.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace ktdecode {

enum class FieldFormat {
    Decimal, // "%0Nd": a minus sign counts toward the width, "-05"
    Signed,  // "%+0Nd": always a sign, "+005", "-120"
    Hex,     // "%0NX": upper-case hexadecimal, never negative
};

struct FieldLayout {
    const char* name;
    FieldFormat format;
    int width; // the minimum width N
};

// The value of `text` read as one field, when writing that value with the field's format gives back
// exactly `text`: so a field longer than its width has no leading zero, hex digits are upper case,
// and no value is out of the 32-bit range the driver's fields hold.
bool ReadField(std::string_view text, const FieldLayout& layout, int64_t& value);

// Calls `take` with the values of every split of `text` into `layouts.size()` fields, in order, that
// ReadField accepts field by field. `take` returns false to stop the enumeration early.
void ForEachSplit(std::string_view text, std::span<const FieldLayout> layouts,
                  const std::function<bool(std::span<const int64_t>)>& take);

// The values of the splits that `keep` accepts, stopping at the second one: what a reader needs to
// tell "no reading", "one reading" and "ambiguous" apart.
std::vector<std::vector<int64_t>> SplitsWhere(std::string_view text, std::span<const FieldLayout> layouts,
                                              const std::function<bool(std::span<const int64_t>)>& keep);

} // namespace ktdecode
