#include "text.h"

#include <cstring>

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <string>
#include <vector>

// WCHAR strings are handed to iconv as UTF-16LE bytes.
static_assert(std::endian::native == std::endian::little);

namespace winsim {
namespace {

// Opening a converter loads the code page's module, which costs far more than a short conversion,
// so each thread keeps the few it uses open until it ends.
class Converters {
  public:
    ~Converters() {
        for (const Entry& e : entries_) {
            iconv_close(e.cd);
        }
    }
    // A converter in its initial shift state, or (iconv_t)-1.
    iconv_t get(const char* from, const char* to) {
        for (const Entry& e : entries_) {
            if (e.from == from && e.to == to) {
                iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
                return e.cd;
            }
        }
        iconv_t cd = iconv_open(to, from);
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            entries_.push_back({from, to, cd});
        }
        return cd;
    }

  private:
    struct Entry {
        std::string from, to;
        iconv_t cd;
    };
    std::vector<Entry> entries_;
};

char16_t fold(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::string_view bytes(std::u16string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}

} // namespace

bool transcode(const char* from, const char* to, std::string_view in, std::string& out, const BadInput& bad) {
    thread_local Converters converters;
    const iconv_t cd = converters.get(from, to);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char chunk[512];
    size_t pos = 0;
    while (pos < in.size()) {
        char* src = const_cast<char*>(in.data() + pos);
        size_t src_left = in.size() - pos;
        char* dst = chunk;
        size_t dst_left = sizeof chunk;
        const size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
        const int err = errno;
        out.append(chunk, static_cast<size_t>(dst - chunk));
        pos = in.size() - src_left;
        if (rc != static_cast<size_t>(-1) || err == E2BIG)
            continue;
        // EILSEQ (invalid or unmappable) or EINVAL (cut off at the end): let the caller decide.
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::optional<size_t> skip = bad(in.substr(pos), out);
        if (!skip)
            return false;
        pos += std::max<size_t>(*skip, 1);
    }
    char* dst = chunk;
    size_t dst_left = sizeof chunk;
    iconv(cd, nullptr, nullptr, &dst, &dst_left);
    out.append(chunk, static_cast<size_t>(dst - chunk));
    return true;
}

std::u16string from_utf8(std::string_view text) {
    std::string out;
    transcode("UTF-8", "UTF-16LE", text, out, [](std::string_view, std::string& o) -> std::optional<size_t> {
        o.append("\xFD\xFF", 2);
        return 1;
    });
    std::u16string result(out.size() / 2, u'\0');
    std::copy_n(out.data(), result.size() * 2, reinterpret_cast<char*>(result.data()));
    return result;
}

std::string to_utf8(std::u16string_view text) {
    std::string out;
    transcode("UTF-16LE", "UTF-8", bytes(text), out,
              [](std::string_view, std::string& o) -> std::optional<size_t> {
                  o.append("\xEF\xBF\xBD");
                  return 2;
              });
    return out;
}

std::u16string_view view(LPCWSTR text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

bool equal_ignoring_case(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

bool LessIgnoringCase::operator()(const std::u16string& a, const std::u16string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return fold(x) < fold(y); });
}

} // namespace winsim

int winsim::copy_out(std::string_view text, char* buffer, size_t size) {
    if (buffer && size > 0) {
        const size_t n = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = 0;
    }
    return static_cast<int>(text.size());
}
