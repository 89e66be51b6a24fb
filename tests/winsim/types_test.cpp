// The base types and the device record keep their Windows sizes and byte layout on LP64 Linux, where `long`
// is 64-bit and wchar_t 32-bit.
#include <windows.h>
#include <winddi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>
#include <vector>

static_assert(sizeof(LONG) == 4 && std::is_signed_v<LONG>);
static_assert(sizeof(ULONG) == 4 && std::is_unsigned_v<ULONG>);
static_assert(sizeof(DWORD) == 4 && std::is_unsigned_v<DWORD>);
static_assert(sizeof(WORD) == 2 && std::is_unsigned_v<WORD>);
static_assert(sizeof(SHORT) == 2 && std::is_signed_v<SHORT>);
static_assert(sizeof(BOOL) == 4 && std::is_signed_v<BOOL>);
static_assert(sizeof(WCHAR) == 2 && std::is_unsigned_v<WCHAR>);
static_assert(sizeof(LONG_PTR) == sizeof(void*) && std::is_signed_v<LONG_PTR>);
static_assert(std::is_same_v<SIZE_T, size_t>);
static_assert(sizeof(DWORDLONG) == 8);
static_assert(std::is_same_v<decltype(TEXT("ab")), const WCHAR (&)[3]>);
static_assert(MAX_PATH == 260 && CCHDEVICENAME == 32 && CCHFORMNAME == 32 && DM_SPECVERSION == 0x0401);
static_assert(sizeof(DEVMODEW) == 220 && sizeof(COLORADJUSTMENT) == 24);
static_assert(sizeof(COLORINFO) == 120 && sizeof(DEVHTINFO) == 132);

namespace {

void put(std::vector<BYTE>& image, size_t offset, std::initializer_list<BYTE> bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

TEST(Types, DevmodeFieldsLandOnTheirWindowsBytes) {
    DEVMODEW dm = {};
    dm.dmDeviceName[0] = u'K';
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = 0x1234;
    dm.dmFields = DM_ORIENTATION | DM_COPIES | DM_NUP | DM_MEDIATYPE;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    dm.dmCopies = -2;
    dm.dmCollate = DMCOLLATE_TRUE;
    dm.dmFormName[1] = u'\u30E9';
    dm.dmNup = DMNUP_ONEUP;
    dm.dmMediaType = DMMEDIA_USER;
    dm.dmPanningHeight = 0xA1B2C3D4;

    // Written by hand from the Windows layout, little-endian.
    std::vector<BYTE> expected(220, 0);
    put(expected, 0, {'K', 0});
    put(expected, 64, {0x01, 0x04});
    put(expected, 68, {0xDC, 0x00, 0x34, 0x12});
    put(expected, 72, {0x41, 0x01, 0x00, 0x02});
    put(expected, 76, {0x02, 0x00});
    put(expected, 86, {0xFE, 0xFF});
    put(expected, 100, {0x01, 0x00});
    put(expected, 104, {0xE9, 0x30});
    put(expected, 180, {0x02, 0x00, 0x00, 0x00});
    put(expected, 196, {0x00, 0x01, 0x00, 0x00});
    put(expected, 216, {0xD4, 0xC3, 0xB2, 0xA1});

    std::vector<BYTE> actual(220);
    std::memcpy(actual.data(), &dm, sizeof dm);
    for (size_t i = 0; i < actual.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "first difference at byte offset " << i;
}

TEST(Types, DevmodeUnionsOverlayAsOnWindows) {
    DEVMODEW dm = {};
    // The display position shares bytes with orientation and paper size, display flags with N-up.
    dm.dmPosition.x = 0x00090002;
    dm.dmPosition.y = 0x00000050;
    EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(dm.dmPaperLength, 0x50);
    dm.dmDisplayFlags = DMNUP_SYSTEM;
    EXPECT_EQ(dm.dmNup, static_cast<DWORD>(DMNUP_SYSTEM));
}
