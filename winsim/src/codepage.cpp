// MultiByteToWideChar and WideCharToMultiByte for code page 932 (also the simulated ANSI and OEM code page)
// and UTF-8, with the conversion tables of iconv, completed where Windows' code page 932 table maps what
// iconv's rejects.
//
// Input that cannot be converted becomes the code page's default character, as on Windows: U+30FB (KATAKANA
// MIDDLE DOT) when reading code page 932, U+FFFD when reading UTF-8, '?' (or the caller's default character)
// when writing code page 932, U+FFFD when writing UTF-8. With MB_ERR_INVALID_CHARS or WC_ERR_INVALID_CHARS
// the call fails with ERROR_NO_UNICODE_TRANSLATION instead. One default character replaces each rejected
// byte, or each UTF-16 unit, as Windows does for the legacy code pages.
#include "services.h"
#include "text.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

enum class Charset { Unknown, Japanese, Utf8 };

Charset resolve(UINT code_page) {
    switch (code_page) {
    case 932:
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
        return Charset::Japanese;
    case CP_UTF8:
        return Charset::Utf8;
    default:
        return Charset::Unknown;
    }
}

const char* iconv_name(Charset cp) {
    return cp == Charset::Utf8 ? "UTF-8" : "CP932";
}

// Single bytes that Windows' code page 932 table maps and iconv's "CP932" rejects: 0x80 stands for U+0080,
// and 0xA0 and 0xFD-0xFF for the private-use characters U+F8F0-U+F8F3 (Microsoft's table as Wine's code page
// data carries it). Windows maps them back the same way, so text holding them survives a round trip.
struct WindowsOnlyByte {
    unsigned char byte;
    char16_t unit;
};
constexpr WindowsOnlyByte kWindowsOnly932[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

const WindowsOnlyByte* windows_only_byte(unsigned char byte) {
    for (const WindowsOnlyByte& w : kWindowsOnly932) {
        if (w.byte == byte)
            return &w;
    }
    return nullptr;
}

const WindowsOnlyByte* windows_only_unit(char16_t unit) {
    for (const WindowsOnlyByte& w : kWindowsOnly932) {
        if (w.unit == unit)
            return &w;
    }
    return nullptr;
}

void append_utf16le(std::string& out, char16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

bool is_lead_byte_932(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Hands the converted text to the caller with the Windows contract: the size when the caller gave no room,
// else all of it or, when it does not fit, nothing and ERROR_INSUFFICIENT_BUFFER.
template <class Char> int deliver(const std::string& converted, Char* out, int room) {
    const size_t units = converted.size() / sizeof(Char);
    if (units > static_cast<size_t>(INT_MAX)) {
        SetLastError(ERROR_ARITHMETIC_OVERFLOW);
        return 0;
    }
    if (room == 0)
        return static_cast<int>(units);
    if (units > static_cast<size_t>(room)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, converted.data(), converted.size());
    return static_cast<int>(units);
}

} // namespace

using namespace winsim;

extern "C" {

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    if (const DWORD fault = enter(Service::MultiByteToWideChar)) {
        SetLastError(fault);
        return 0;
    }
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (!lpWideCharStr && cchWideChar)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const Charset cp = resolve(CodePage);
    if (cp == Charset::Unknown) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = cp == Charset::Utf8
                              ? MB_ERR_INVALID_CHARS
                              : MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if (dwFlags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // -1 means NUL-terminated, and the NUL is converted and counted too.
    const size_t length =
        cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    const bool strict = (dwFlags & MB_ERR_INVALID_CHARS) != 0;
    const char* replacement = cp == Charset::Utf8 ? "\xFD\xFF" : "\xFB\x30"; // UTF-16LE
    std::string converted;
    const bool ok =
        transcode(iconv_name(cp), "UTF-16LE", std::string_view(lpMultiByteStr, length), converted,
                  [&](std::string_view rest, std::string& out) -> std::optional<size_t> {
                      if (cp == Charset::Japanese) {
                          if (const auto* w = windows_only_byte(static_cast<unsigned char>(rest[0]))) {
                              append_utf16le(out, w->unit);
                              return 1;
                          }
                      }
                      if (strict)
                          return std::nullopt;
                      out.append(replacement, 2);
                      return 1;
                  });
    if (!ok) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return deliver(converted, lpWideCharStr, cchWideChar);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    if (const DWORD fault = enter(Service::WideCharToMultiByte)) {
        SetLastError(fault);
        return 0;
    }
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (!lpMultiByteStr && cbMultiByte)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const Charset cp = resolve(CodePage);
    if (cp == Charset::Unknown) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = cp == Charset::Utf8 ? WC_ERR_INVALID_CHARS
                                              : WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS |
                                                    WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;
    if (dwFlags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // UTF-8 can encode every character, so Windows refuses a default character for it
    // (WideCharToMultiByte's documentation: ERROR_INVALID_PARAMETER).
    if (cp == Charset::Utf8 && (lpDefaultChar || lpUsedDefaultChar)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string default_char = "?";
    if (lpDefaultChar && lpDefaultChar[0]) {
        default_char.assign(1, lpDefaultChar[0]);
        if (is_lead_byte_932(static_cast<unsigned char>(lpDefaultChar[0])) && lpDefaultChar[1])
            default_char += lpDefaultChar[1];
    }
    const std::u16string_view text =
        cchWideChar == -1
            ? std::u16string_view(lpWideCharStr, std::char_traits<char16_t>::length(lpWideCharStr) + 1)
            : std::u16string_view(lpWideCharStr, static_cast<size_t>(cchWideChar));
    const bool strict = (dwFlags & WC_ERR_INVALID_CHARS) != 0;
    bool used_default = false;
    std::string converted;
    const bool ok = transcode(
        "UTF-16LE", iconv_name(cp),
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)),
        converted, [&](std::string_view rest, std::string& out) -> std::optional<size_t> {
            const auto unit =
                static_cast<char16_t>(static_cast<unsigned char>(rest[0]) |
                                      (rest.size() > 1 ? static_cast<unsigned char>(rest[1]) << 8 : 0));
            if (cp == Charset::Japanese) {
                if (const auto* w = windows_only_unit(unit)) {
                    out += static_cast<char>(w->byte);
                    return sizeof(char16_t);
                }
            }
            if (cp == Charset::Utf8) {
                // Only an unpaired surrogate gets here.
                if (strict)
                    return std::nullopt;
                out.append("\xEF\xBF\xBD");
            } else {
                out += default_char;
                used_default = true;
            }
            return sizeof(char16_t);
        });
    if (!ok) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    const int result = deliver(converted, lpMultiByteStr, cbMultiByte);
    if (result && lpUsedDefaultChar)
        *lpUsedDefaultChar = used_default ? TRUE : FALSE;
    return result;
}

} // extern "C"
