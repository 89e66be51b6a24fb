// Code page 932 and UTF-8 conversions with the Windows contracts: size queries, short buffers, the NUL of -1
// lengths, and what becomes of input that cannot be converted.
#include "winsim_test.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// "標準ﾗﾍﾞﾙ(160x80)": two double-byte kanji, then half-width katakana, which are single bytes in code page
// 932.
const std::u16string kLabel = u"標準ﾗﾍﾞﾙ(160x80)";
const std::string kLabel932 = "\x95\x57\x8F\x80\xD7\xCD\xDE\xD9(160x80)";

std::u16string to_wide(UINT code_page, DWORD flags, const std::string& bytes) {
    const int n =
        MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(n), u'\0');
    if (n > 0)
        MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string to_bytes(UINT code_page, const std::u16string& text, LPCCH default_char = nullptr,
                     BOOL* used_default = nullptr) {
    const int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      default_char, used_default);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0)
        WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                            default_char, used_default);
    return out;
}

using CodePageTest = WinsimTest;

TEST_F(CodePageTest, LabelNameRoundTripsThroughCodePage932) {
    EXPECT_EQ(to_bytes(932, kLabel), kLabel932);
    EXPECT_EQ(to_wide(932, MB_ERR_INVALID_CHARS, kLabel932), kLabel);
    // The simulated system is Japanese: its ANSI code page is 932.
    EXPECT_EQ(to_bytes(CP_ACP, kLabel), kLabel932);
}

TEST_F(CodePageTest, SizesAndShortBuffersFollowWindows) {
    // -1 converts up to and including the NUL, and counts it.
    EXPECT_EQ(WideCharToMultiByte(932, 0, kLabel.c_str(), -1, nullptr, 0, nullptr, nullptr), 17);
    EXPECT_EQ(MultiByteToWideChar(932, 0, kLabel932.c_str(), -1, nullptr, 0), 15);

    char bytes[16];
    std::memset(bytes, 'x', sizeof bytes);
    EXPECT_EQ(WideCharToMultiByte(932, 0, kLabel.c_str(), -1, bytes, 16, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    WCHAR wide[14];
    EXPECT_EQ(MultiByteToWideChar(932, 0, kLabel932.c_str(), -1, wide, 14), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    WCHAR exact[15];
    ASSERT_EQ(MultiByteToWideChar(932, 0, kLabel932.c_str(), -1, exact, 15), 15);
    EXPECT_EQ(std::u16string(exact), kLabel);

    EXPECT_EQ(MultiByteToWideChar(932, 0, kLabel932.c_str(), 0, wide, 14), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(1253, 0, "abc", 3, wide, 14), 0) << "code pages other than 932 and UTF-8";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(CodePageTest, InvalidBytesBecomeTheDefaultCharacterOrFail) {
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string lenient;
    };
    const Case cases[] = {
        {"lead byte with a bad trail byte", "\x81\x20", u"\u30FB "},
        {"lead byte before a single byte of Windows' own", "\x81\xFD", u"\u30FB\uF8F1"},
        {"lead byte cut off at the end", "A\x82", u"A\u30FB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(to_wide(932, 0, c.bytes), c.lenient);
        WCHAR out[8];
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, c.bytes.data(),
                                      static_cast<int>(c.bytes.size()), out, 8),
                  0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
}

TEST_F(CodePageTest, EverySingleByteHasACharacterBothWays) {
    // Windows' table gives the bytes that Shift JIS leaves undefined a character of their own, so text that
    // holds them comes back unchanged.
    struct Case {
        char byte;
        char16_t unit;
    };
    const Case cases[] = {
        {'\x80', u'\u0080'}, {'\xA0', u'\uF8F0'}, {'\xFD', u'\uF8F1'},
        {'\xFE', u'\uF8F2'}, {'\xFF', u'\uF8F3'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << (c.byte & 0xFF));
        const std::string bytes = std::string("A") + c.byte + "B";
        const std::u16string text = u"A" + std::u16string(1, c.unit) + u"B";
        EXPECT_EQ(to_wide(932, MB_ERR_INVALID_CHARS, bytes), text);
        BOOL used = -1;
        EXPECT_EQ(to_bytes(932, text, nullptr, &used), bytes);
        EXPECT_EQ(used, FALSE);
    }
}

TEST_F(CodePageTest, UnmappableCharactersBecomeTheDefaultCharacter) {
    BOOL used = -1;
    EXPECT_EQ(to_bytes(932, u"ab", nullptr, &used), "ab");
    EXPECT_EQ(used, FALSE);
    EXPECT_EQ(to_bytes(932, u"caf\u00E9", nullptr, &used), "caf?");
    EXPECT_EQ(used, TRUE);
    EXPECT_EQ(to_bytes(932, u"caf\u00E9", "*", &used), "caf*");
    // Each UTF-16 unit of a character outside the BMP is replaced on its own.
    EXPECT_EQ(to_bytes(932, u"\U0001F600", nullptr, &used), "??");
}

TEST_F(CodePageTest, Utf8FollowsItsOwnRules) {
    EXPECT_EQ(to_wide(CP_UTF8, 0, "\xE6\xA8\x99\xE6\xBA\x96"), u"標準");
    EXPECT_EQ(to_bytes(CP_UTF8, u"標準"), "\xE6\xA8\x99\xE6\xBA\x96");
    EXPECT_EQ(to_wide(CP_UTF8, 0, "a\xFF"), u"a\uFFFD");

    // UTF-8 has no default character to report.
    BOOL used = FALSE;
    char out[8];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 8, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    const std::u16string lone_surrogate(1, static_cast<char16_t>(0xD800));
    EXPECT_EQ(to_bytes(CP_UTF8, lone_surrogate), "\xEF\xBF\xBD");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone_surrogate.data(), 1, out, 8, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

} // namespace
