// Text conversion between the encodings winsim meets: UTF-16 (WCHAR), UTF-8 (host names and paths) and the
// Windows code pages the driver asks for. All conversions go through the C library's iconv.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace winsim {

// Called for each input sequence iconv rejects, with the input from that point on. It appends a replacement
// to `out` and returns how many input bytes to skip, or nullopt to give up the conversion.
using BadInput = std::function<std::optional<size_t>(std::string_view rest, std::string& out)>;

// Converts `in` from encoding `from` to encoding `to` (iconv names), appending to `out`. Returns false when
// either encoding is unknown or `bad` gave up.
bool transcode(const char* from, const char* to, std::string_view in, std::string& out, const BadInput& bad);

// UTF-8 <-> UTF-16; invalid input becomes U+FFFD.
std::u16string from_utf8(std::string_view text);
std::string to_utf8(std::u16string_view text);

// A host read of a text: as much as fits, always terminated (nothing for a null or empty buffer); returns
// the text's whole length in bytes.
int copy_out(std::string_view text, char* buffer, size_t size);

// A NUL-terminated WCHAR string as a view; NULL is empty.
std::u16string_view view(LPCWSTR text);

// ASCII case-insensitive equality, as Windows compares printer and value names for the characters drivers
// use.
bool equal_ignoring_case(std::u16string_view a, std::u16string_view b);

struct LessIgnoringCase {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
};

} // namespace winsim
