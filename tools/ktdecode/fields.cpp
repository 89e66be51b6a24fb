#include "fields.h"

#include <cstdio>
#include <string>

namespace ktdecode {

namespace {

// A 32-bit value in any of the formats takes at most 11 characters ("-2147483648"); no longer text
// can be a field, which also keeps the split enumeration small.
constexpr size_t kMaxFieldChars = 11;

bool Digit(char c, bool hex) {
    return (c >= '0' && c <= '9') || (hex && c >= 'A' && c <= 'F');
}

} // namespace

bool ReadField(std::string_view text, const FieldLayout& layout, int64_t& value) {
    if (text.empty() || text.size() > kMaxFieldChars) {
        return false;
    }
    const bool hex = layout.format == FieldFormat::Hex;
    size_t at = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        if (hex) {
            return false;
        }
        negative = text[0] == '-';
        at = 1;
    }
    if (at == text.size()) {
        return false;
    }
    int64_t v = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (!Digit(c, hex)) {
            return false;
        }
        v = v * (hex ? 16 : 10) + (c <= '9' ? c - '0' : c - 'A' + 10);
    }
    v = negative ? -v : v;
    if (v < INT32_MIN || v > (hex ? int64_t{UINT32_MAX} : int64_t{INT32_MAX})) {
        return false;
    }
    char format[8];
    const char* conversion = hex ? "X" : "lld";
    std::snprintf(format, sizeof(format), "%%%s0%d%s", layout.format == FieldFormat::Signed ? "+" : "",
                  layout.width, conversion);
    char written[32];
    if (hex) {
        std::snprintf(written, sizeof(written), format, static_cast<unsigned>(v));
    } else {
        std::snprintf(written, sizeof(written), format, static_cast<long long>(v));
    }
    if (text != written) {
        return false;
    }
    value = v;
    return true;
}

namespace {

bool Split(std::string_view text, std::span<const FieldLayout> layouts, std::vector<int64_t>& values,
           const std::function<bool(std::span<const int64_t>)>& take) {
    const size_t index = values.size();
    if (index == layouts.size()) {
        return text.empty() ? take(values) : true;
    }
    const size_t fieldsLeft = layouts.size() - index;
    for (size_t len = 1; len <= kMaxFieldChars && len + (fieldsLeft - 1) <= text.size(); ++len) {
        if (fieldsLeft == 1 && len != text.size()) {
            continue;
        }
        int64_t v = 0;
        if (!ReadField(text.substr(0, len), layouts[index], v)) {
            continue;
        }
        values.push_back(v);
        bool more = Split(text.substr(len), layouts, values, take);
        values.pop_back();
        if (!more) {
            return false;
        }
    }
    return true;
}

} // namespace

void ForEachSplit(std::string_view text, std::span<const FieldLayout> layouts,
                  const std::function<bool(std::span<const int64_t>)>& take) {
    std::vector<int64_t> values;
    values.reserve(layouts.size());
    Split(text, layouts, values, take);
}

std::vector<std::vector<int64_t>> SplitsWhere(std::string_view text, std::span<const FieldLayout> layouts,
                                              const std::function<bool(std::span<const int64_t>)>& keep) {
    std::vector<std::vector<int64_t>> found;
    ForEachSplit(text, layouts, [&](std::span<const int64_t> values) {
        if (keep(values)) {
            found.emplace_back(values.begin(), values.end());
        }
        return found.size() < 2;
    });
    return found;
}

} // namespace ktdecode
