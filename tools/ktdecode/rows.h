// The two row codings of compressed image rows, decoded into the row's bytes (dots packed most
// significant bit first, as raw rows carry them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ktdecode {

// What is wrong with a coded row: `at` is the offset, within the coded bytes after the count, of the
// byte where the fault shows.
struct RowFault {
    size_t at;
    std::string what;
};

// Byte runs (mode "1"): items, each either a repeat (0x80 + k, then the byte to repeat; 3 <= k <= 127)
// or a literal (k, then k bytes; 1 <= k <= 127). The items must make exactly `row.size()` bytes.
std::optional<RowFault> DecodeByteRuns(std::span<const uint8_t> items, std::span<uint8_t> row);

// One run length read from run-code bits (most significant bit of each byte first) at `bit`, which
// moves past the code. Codes: "1" then one bit b is 1 + b; otherwise z zeros (z <= 11) then z + 1
// bits whose value is the run length less one. Empty when the bits end inside a code or a code has
// too many zeros; `why` then says which.
std::optional<int> ReadRunLength(std::span<const uint8_t> code, size_t bitCount, size_t& bit,
                                 std::string* why = nullptr);

// Run codes (mode "2": the first run is white; mode "3": black). The runs alternate in colour and must
// cover every bit of the row's bytes, padding included, and end exactly at `bitCount`.
std::optional<RowFault> DecodeRunCodes(std::span<const uint8_t> code, size_t bitCount, bool startBlack,
                                       std::span<uint8_t> row);

} // namespace ktdecode
