// Byte-level expectations: records written from the layout tables, compared with a report that
// names the first differing offset.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, size_t at, uint16_t v) {
    b.at(at) = static_cast<uint8_t>(v);
    b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

inline void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
    }
}

inline void PutText(Bytes& b, size_t at, const WCHAR* text, size_t maxChars) {
    for (size_t i = 0; i < maxChars && text[i]; ++i) {
        Put16(b, at + 2 * i, static_cast<uint16_t>(text[i]));
    }
}

inline ::testing::AssertionResult SameBytes(const Bytes& expected, const void* actual, size_t size) {
    if (expected.size() != size) {
        return ::testing::AssertionFailure() << "size " << size << ", expected " << expected.size();
    }
    const uint8_t* a = static_cast<const uint8_t*>(actual);
    for (size_t i = 0; i < size; ++i) {
        if (a[i] != expected[i]) {
            std::ostringstream s;
            s << "first difference at offset " << i << ":";
            for (size_t k = i; k < size && k < i + 8; ++k) {
                s << " " << std::hex << int(a[k]) << "/" << int(expected[k]);
            }
            return ::testing::AssertionFailure() << s.str() << " (actual/expected)";
        }
    }
    return ::testing::AssertionSuccess();
}
