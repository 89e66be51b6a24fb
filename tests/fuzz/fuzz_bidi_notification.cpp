// libFuzzer target: whatever text a printer sends as a bidi notification, the reader returns at most five
// records, every path and text value terminated inside its field, and gives back every COM object and
// string it was handed.
#include "bidi.h"
#include "com_ptr.h"
#include "wstr.h"

#include <winsim_host.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Fail(const char* why) {
    std::fprintf(stderr, "bidi notification reader: %s\n", why);
    std::abort();
}

// The first byte picks the envelope, so that mutations reach the inside of both forms; the rest is the
// text, one character per byte, or two bytes per character when the envelope byte is odd.
std::u16string TextOf(const uint8_t* data, size_t size) {
    std::u16string body;
    const uint8_t form = size ? data[0] : 0;
    if (form & 1) {
        for (size_t i = 1; i + 1 < size; i += 2) {
            body += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        }
    } else {
        for (size_t i = 1; i < size; ++i) {
            body += static_cast<char16_t>(data[i]);
        }
    }
    switch ((form >> 1) % 3) {
    case 0:
        return u"<bidi:Notification xmlns:bidi=\"b\">" + body + u"</bidi:Notification>";
    case 1:
        return u"<bidi:Schema xmlns:bidi=\"b\">" + body + u"</bidi:Schema>";
    default:
        return body;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = TextOf(data, size);
    const uint32_t objects = winsim_com_objects();
    const uint32_t allocations = winsim_com_allocations();
    {
        ComScope com(COINIT_MULTITHREADED);
        GlobalBuffer out;
        const DWORD count =
            ReadBidiNotification(reinterpret_cast<const WCHAR*>(text.c_str()), kNotificationRecords, &out);
        if (count > kNotificationRecords) {
            Fail("more than five records");
        }
        if (count && out.size() < count * sizeof(BIDIVALUE)) {
            Fail("records outside the array");
        }
        const BIDIVALUE* records = out.as<BIDIVALUE>();
        for (DWORD i = 0; i < count; ++i) {
            if (WStrLen(records[i].Path, kBidiPathChars) >= kBidiPathChars) {
                Fail("unterminated path");
            }
            if ((records[i].Type == BIDI_STRING || records[i].Type == BIDI_TEXT) &&
                WStrLen(reinterpret_cast<const WCHAR*>(records[i].Value), kBidiTextChars) >= kBidiTextChars) {
                Fail("unterminated text");
            }
        }
    }
    if (winsim_com_objects() != objects || winsim_com_allocations() != allocations) {
        Fail("a COM object or string was not given back");
    }
    if (winsim_com_initialized() != 0) {
        Fail("COM left initialised");
    }
    return 0;
}
