// Code page 932 (Japanese) text, the encoding of the label file.
#pragma once

#include <windows.h>

inline constexpr int kCp932BufferBytes = 1024;
inline constexpr int kCp932NameChars = 64;

// Converts text to code page 932 into out (kCp932BufferBytes); the last byte is always NUL.
// Returns the byte count without the NUL; text that does not fit converts as far as it fits.
int ToCodePage932(LPCWSTR text, char (&out)[kCp932BufferBytes]);
// Converts len bytes of code page 932 into out (kCp932NameChars), at most 63 characters and NUL.
int FromCodePage932(const char* bytes, int len, WCHAR (&out)[kCp932NameChars]);
