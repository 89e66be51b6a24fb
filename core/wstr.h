// Bounded helpers for 16-bit text. WCHAR is 16-bit in both builds (char16_t on Linux), so the C
// library's wcs* functions cannot be used; these work on both.
#pragma once

#include <windows.h>

#include <cstddef>

// Length of text, never reading past max characters.
inline size_t WStrLen(const WCHAR* text, size_t max = static_cast<size_t>(-1)) {
    size_t n = 0;
    if (text) {
        while (n < max && text[n] != 0) {
            ++n;
        }
    }
    return n;
}

// Copies at most capacity-1 characters (and never more than srcMax) and always terminates, like
// lstrcpynW. A zero capacity writes nothing.
inline size_t WStrCopy(WCHAR* dst, size_t capacity, const WCHAR* src,
                       size_t srcMax = static_cast<size_t>(-1)) {
    if (capacity == 0) {
        return 0;
    }
    size_t n = WStrLen(src, srcMax < capacity - 1 ? srcMax : capacity - 1);
    for (size_t i = 0; i < n; ++i) {
        dst[i] = src[i];
    }
    dst[n] = 0;
    return n;
}

template <size_t N>
inline size_t WStrCopy(WCHAR (&dst)[N], const WCHAR* src, size_t srcMax = static_cast<size_t>(-1)) {
    return WStrCopy(dst, N, src, srcMax);
}

inline bool WStrEqual(const WCHAR* a, const WCHAR* b) {
    if (!a || !b) {
        return a == b;
    }
    size_t i = 0;
    for (; a[i] != 0 && a[i] == b[i]; ++i) {
    }
    return a[i] == b[i];
}

inline WCHAR WAsciiLower(WCHAR c) {
    return c >= TEXT('A') && c <= TEXT('Z') ? static_cast<WCHAR>(c - TEXT('A') + TEXT('a')) : c;
}

// Equality ignoring the case of ASCII letters, as names of the bidi schema and of XML elements are compared.
inline bool WStrEqualNoCase(const WCHAR* a, const WCHAR* b) {
    if (!a || !b) {
        return a == b;
    }
    size_t i = 0;
    for (; a[i] != 0 && WAsciiLower(a[i]) == WAsciiLower(b[i]); ++i) {
    }
    return WAsciiLower(a[i]) == WAsciiLower(b[i]);
}

// Plain, case-sensitive substring test.
inline bool WStrContains(const WCHAR* haystack, size_t haystackLen, const WCHAR* needle) {
    size_t n = WStrLen(needle);
    if (n == 0) {
        return true;
    }
    for (size_t i = 0; i + n <= haystackLen; ++i) {
        size_t k = 0;
        while (k < n && haystack[i + k] == needle[k]) {
            ++k;
        }
        if (k == n) {
            return true;
        }
    }
    return false;
}
