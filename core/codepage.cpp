#include "codepage.h"

#include "wstr.h"

namespace {
constexpr UINT kCodePage932 = 932;
}

int ToCodePage932(LPCWSTR text, char (&out)[kCp932BufferBytes]) {
    out[0] = 0;
    int len = static_cast<int>(WStrLen(text, kCp932BufferBytes * 2));
    if (len == 0) {
        return 0;
    }
    int n = WideCharToMultiByte(kCodePage932, 0, text, len, out, kCp932BufferBytes - 1, nullptr, nullptr);
    if (n == 0) {
        // Too long for the buffer: keep the characters that fit whole, one at a time, so a
        // double-byte character is never cut in half.
        n = 0;
        for (int i = 0; i < len; ++i) {
            int units = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < len) ? 2 : 1;
            char piece[8];
            int bytes =
                WideCharToMultiByte(kCodePage932, 0, text + i, units, piece, sizeof(piece), nullptr, nullptr);
            if (bytes <= 0 || n + bytes > kCp932BufferBytes - 1) {
                break;
            }
            for (int k = 0; k < bytes; ++k) {
                out[n + k] = piece[k];
            }
            n += bytes;
            i += units - 1;
        }
    }
    out[n] = 0;
    out[kCp932BufferBytes - 1] = 0;
    return n;
}

int FromCodePage932(const char* bytes, int len, WCHAR (&out)[kCp932NameChars]) {
    out[0] = 0;
    if (!bytes || len <= 0) {
        return 0;
    }
    len = len < kCp932BufferBytes ? len : kCp932BufferBytes;
    WCHAR wide[kCp932BufferBytes];
    int n = MultiByteToWideChar(kCodePage932, 0, bytes, len, wide, kCp932BufferBytes);
    if (n <= 0) {
        return 0;
    }
    return static_cast<int>(WStrCopy(out, wide, static_cast<size_t>(n)));
}
