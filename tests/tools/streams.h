// Printer streams written by hand for the decoder's tests, and what they decode to.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "decoder.h"

namespace kt_decode_test {

using Bytes = std::vector<uint8_t>;
using namespace std::string_view_literals;

// The pieces, one after the other. A piece holding a 00 byte must be a string_view literal ("..."sv).
template <typename... Pieces> Bytes Stream(Pieces... pieces) {
    Bytes out;
    for (std::string_view piece : {std::string_view(pieces)...}) {
        out.insert(out.end(), piece.begin(), piece.end());
    }
    return out;
}

inline ktdecode::Result DecodeAs(const char* model, const Bytes& stream) {
    ktdecode::Options options;
    options.model = model;
    return ktdecode::Decode(stream, options);
}

// The image rows of one head of one page; an empty list when the page or head is not there.
inline std::vector<std::string> Rows(const ktdecode::Result& r, size_t page, size_t head = 0) {
    if (page >= r.pages.size() || head >= r.pages[page].heads.size()) {
        return {};
    }
    return ktdecode::ImageRows(r.pages[page].heads[head].image);
}

// Run-code bits written as '0' and '1' (spaces ignored), packed most significant bit first.
struct CodeBits {
    Bytes bytes;
    size_t count = 0;
};

inline CodeBits Bits(std::string_view text) {
    CodeBits b;
    for (char c : text) {
        if (c == ' ') {
            continue;
        }
        if (b.count % 8 == 0) {
            b.bytes.push_back(0);
        }
        if (c == '1') {
            b.bytes.back() |= static_cast<uint8_t>(0x80 >> (b.count % 8));
        }
        ++b.count;
    }
    return b;
}

} // namespace kt_decode_test
