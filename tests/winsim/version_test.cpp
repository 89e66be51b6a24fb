// Version answers: VerifyVersionInfoW compares major, minor and service pack as one version number, and
// product type on its own, for the versions the driver tells apart.
#include "winsim_test.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

bool at_least(DWORD major, DWORD minor, WORD service_pack) {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.wServicePackMajor = service_pack;
    DWORDLONG mask = 0;
    VER_SET_CONDITION(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    VER_SET_CONDITION(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    VER_SET_CONDITION(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    SetLastError(0);
    const bool result =
        VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, mask);
    if (!result) {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OLD_WIN_VERSION));
    }
    return result;
}

bool is_workstation() {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.wProductType = VER_NT_WORKSTATION;
    return VerifyVersionInfoW(&info, VER_PRODUCT_TYPE, VerSetConditionMask(0, VER_PRODUCT_TYPE, VER_EQUAL));
}

using VersionTest = WinsimTest;

TEST_F(VersionTest, VerifyComparesTheWholeVersionNumber) {
    struct Query {
        DWORD major, minor;
        WORD service_pack;
        bool expected;
    };
    struct Case {
        const char* windows;
        DWORD major, minor, service_pack, build;
        BYTE product;
        bool workstation;
        std::vector<Query> queries;
    };
    const Case cases[] = {
        {"Windows 10",
         10,
         0,
         0,
         19045,
         VER_NT_WORKSTATION,
         true,
         {{10, 0, 0, true}, {6, 3, 0, true}, {10, 1, 0, false}, {10, 0, 1, false}}},
        {"Windows Server 2016", 10, 0, 0, 14393, VER_NT_SERVER, false, {{10, 0, 0, true}, {6, 3, 0, true}}},
        {"Windows 7 SP1",
         6,
         1,
         1,
         7601,
         VER_NT_WORKSTATION,
         true,
         {{6, 2, 0, false}, {6, 1, 0, true}, {6, 1, 1, true}, {6, 1, 2, false}, {6, 0, 2, true}}},
        {"Windows XP SP3",
         5,
         1,
         3,
         2600,
         VER_NT_WORKSTATION,
         true,
         {{6, 0, 0, false}, {5, 1, 0, true}, {5, 0, 4, true}, {5, 2, 0, false}}},
        {"Windows Server 2003 domain controller",
         5,
         2,
         2,
         3790,
         VER_NT_DOMAIN_CONTROLLER,
         false,
         {{5, 2, 0, true}, {6, 0, 0, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows);
        winsim_set_windows_version(c.major, c.minor, c.service_pack, c.build, c.product,
                                   VER_PLATFORM_WIN32_NT);
        EXPECT_EQ(is_workstation(), c.workstation);
        for (const Query& q : c.queries) {
            EXPECT_EQ(at_least(q.major, q.minor, q.service_pack), q.expected)
                << ">= " << q.major << "." << q.minor << " SP" << q.service_pack;
        }
    }
}

// Cases of Wine's kernel32 version tests, which ran on Windows 7 and earlier: the asked-for version is the
// running one with one field moved, and each field may have a condition of its own.
TEST_F(VersionTest, VerifyFollowsWindowsFieldByField) {
    winsim_set_windows_version(6, 1, 1, 7601, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    enum Move { Same, Zero, MinorUp, SpMinorUp, SpMajorUp, SpMajorDown, MajorDown, BuildUp };
    constexpr DWORD kAll = VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR;
    constexpr DWORD kNoMajor = VER_MINORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR;
    struct Condition {
        DWORD field;
        BYTE condition;
    };
    struct Case {
        DWORD mask;
        Move move;
        bool holds;
        std::vector<Condition> conditions;
    };
    const Case cases[] = {
        {kAll, MinorUp, true, {{VER_MAJORVERSION, VER_EQUAL}, {VER_MINORVERSION, VER_LESS}}},
        {kAll, MinorUp, false, {{VER_MAJORVERSION, VER_GREATER_EQUAL}, {VER_MINORVERSION, VER_LESS}}},
        {kAll, Same, true, {{VER_MAJORVERSION, VER_GREATER_EQUAL}, {VER_MINORVERSION, VER_LESS}}},
        {kAll, Same, true, {{VER_MAJORVERSION, VER_GREATER_EQUAL}, {VER_MINORVERSION, VER_AND}}},
        {kAll, MinorUp, true, {{VER_MAJORVERSION, VER_LESS_EQUAL}, {VER_MINORVERSION, VER_LESS}}},
        {kAll, MinorUp, false, {{VER_MAJORVERSION, VER_AND}, {VER_MINORVERSION, VER_LESS}}},
        {kAll, MinorUp, false, {{VER_MAJORVERSION, VER_OR}, {VER_MINORVERSION, VER_LESS}}},
        {kAll, SpMinorUp, false, {{VER_MINORVERSION, VER_EQUAL}, {VER_SERVICEPACKMINOR, VER_LESS}}},
        {VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR,
         SpMinorUp,
         true,
         {{VER_SERVICEPACKMAJOR, VER_EQUAL}, {VER_SERVICEPACKMINOR, VER_LESS}}},
        {kAll, SpMinorUp, false, {{VER_SERVICEPACKMAJOR, VER_EQUAL}, {VER_SERVICEPACKMINOR, VER_LESS}}},
        {kNoMajor,
         SpMinorUp,
         true,
         {{VER_MINORVERSION, VER_EQUAL},
          {VER_SERVICEPACKMAJOR, VER_EQUAL},
          {VER_SERVICEPACKMINOR, VER_LESS}}},
        {kAll, SpMajorUp, true, {{VER_MAJORVERSION, VER_LESS_EQUAL}, {VER_SERVICEPACKMAJOR, VER_GREATER}}},
        {VER_MAJORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR,
         SpMajorUp,
         true,
         {{VER_MAJORVERSION, VER_EQUAL}, {VER_SERVICEPACKMAJOR, VER_LESS}}},
        {kAll, SpMajorUp, false, {{VER_MAJORVERSION, VER_EQUAL}, {VER_SERVICEPACKMAJOR, VER_LESS}}},
        {kAll,
         SpMajorUp,
         true,
         {{VER_MAJORVERSION, VER_EQUAL}, {VER_MINORVERSION, VER_EQUAL}, {VER_SERVICEPACKMAJOR, VER_LESS}}},
        {kAll, SpMajorUp, false, {{VER_MAJORVERSION, VER_GREATER_EQUAL}, {VER_SERVICEPACKMAJOR, VER_LESS}}},
        {kAll, MajorDown, true, {{VER_MAJORVERSION, VER_GREATER_EQUAL}, {VER_SERVICEPACKMAJOR, VER_LESS}}},
        {kAll,
         SpMajorUp,
         false,
         {{VER_MAJORVERSION, VER_GREATER_EQUAL},
          {VER_MINORVERSION, VER_EQUAL},
          {VER_SERVICEPACKMAJOR, VER_LESS}}},
        {VER_MAJORVERSION | VER_MINORVERSION, Zero, true, {{VER_MAJORVERSION, VER_GREATER_EQUAL}}},
        {VER_MAJORVERSION | VER_MINORVERSION | VER_BUILDNUMBER,
         Zero,
         false,
         {{VER_MAJORVERSION, VER_GREATER_EQUAL}}},
        {VER_SUITENAME, Zero, true, {{VER_SUITENAME, VER_AND}}},
        {VER_SUITENAME, Zero, true, {{VER_SUITENAME, VER_OR}}},
        {kNoMajor, SpMajorUp, true, {{VER_MINORVERSION, VER_LESS}}},
        {kNoMajor, SpMajorUp, false, {{VER_MINORVERSION, VER_EQUAL}}},
        {kAll, MinorUp, false, {{VER_MINORVERSION, VER_GREATER_EQUAL}}},
        {kNoMajor, BuildUp, true, {{VER_MINORVERSION, VER_GREATER_EQUAL}}},
        {kNoMajor, SpMajorDown, true, {{VER_MINORVERSION, VER_GREATER}}},
        {kAll, SpMajorDown, false, {{VER_MAJORVERSION, VER_EQUAL}, {VER_SERVICEPACKMAJOR, VER_GREATER}}},
        {kAll,
         SpMajorDown,
         true,
         {{VER_MAJORVERSION, VER_GREATER_EQUAL},
          {VER_MINORVERSION, VER_EQUAL},
          {VER_SERVICEPACKMAJOR, VER_GREATER}}},
        {kAll,
         SpMajorDown,
         true,
         {{VER_MAJORVERSION, VER_GREATER_EQUAL},
          {VER_MINORVERSION, VER_LESS_EQUAL},
          {VER_SERVICEPACKMAJOR, VER_GREATER}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        const Case& c = cases[i];
        OSVERSIONINFOEXW info = {};
        info.dwOSVersionInfoSize = sizeof info;
        if (c.move != Zero) {
            ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info)));
        }
        switch (c.move) {
        case MinorUp:
            ++info.dwMinorVersion;
            break;
        case SpMinorUp:
            ++info.wServicePackMinor;
            break;
        case SpMajorUp:
            ++info.wServicePackMajor;
            break;
        case SpMajorDown:
            --info.wServicePackMajor;
            break;
        case MajorDown:
            --info.dwMajorVersion;
            break;
        case BuildUp:
            ++info.dwBuildNumber;
            break;
        default:
            break;
        }
        DWORDLONG mask = 0;
        for (const Condition& condition : c.conditions)
            mask = VerSetConditionMask(mask, condition.field, condition.condition);
        SetLastError(0);
        EXPECT_EQ(VerifyVersionInfoW(&info, c.mask, mask) != FALSE, c.holds);
        if (!c.holds) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OLD_WIN_VERSION));
        }
    }
}

TEST_F(VersionTest, OtherConditionsAndFields) {
    winsim_set_windows_version(6, 1, 1, 7601, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwMajorVersion = 6;
    info.dwMinorVersion = 2;
    info.dwBuildNumber = 7600;
    info.dwPlatformId = VER_PLATFORM_WIN32_NT;

    const auto verify = [&](DWORD type, BYTE condition) {
        return VerifyVersionInfoW(&info, type, VerSetConditionMask(0, type, condition)) != FALSE;
    };
    EXPECT_TRUE(verify(VER_MAJORVERSION, VER_EQUAL));
    EXPECT_TRUE(verify(VER_MAJORVERSION | VER_MINORVERSION, VER_LESS));
    EXPECT_FALSE(verify(VER_MAJORVERSION | VER_MINORVERSION, VER_GREATER_EQUAL));
    EXPECT_TRUE(verify(VER_BUILDNUMBER, VER_GREATER));
    EXPECT_TRUE(verify(VER_PLATFORMID, VER_EQUAL));

    // The conditions sit three bits per field at the field's bit index, as callers that build masks by hand
    // expect.
    EXPECT_EQ(VerSetConditionMask(0, VER_MAJORVERSION | VER_MINORVERSION, VER_GREATER_EQUAL), 0x1Bull);
    EXPECT_EQ(VerSetConditionMask(0, VER_PRODUCT_TYPE, VER_EQUAL), 1ull << 21);

    EXPECT_FALSE(VerifyVersionInfoW(&info, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_ARGUMENTS));
}

TEST_F(VersionTest, GetVersionExFillsTheStructureItIsGiven) {
    winsim_set_windows_version(5, 1, 3, 2600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    OSVERSIONINFOEXW ex = {};
    ex.dwOSVersionInfoSize = sizeof ex;
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&ex)));
    EXPECT_EQ(ex.dwMajorVersion, 5u);
    EXPECT_EQ(ex.dwMinorVersion, 1u);
    EXPECT_EQ(ex.dwBuildNumber, 2600u);
    EXPECT_EQ(ex.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(ex.wServicePackMajor, 3);
    EXPECT_EQ(ex.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(std::u16string_view(ex.szCSDVersion), u"Service Pack 3");

    // The basic structure gets the basic fields and nothing past its end.
    struct {
        OSVERSIONINFOW info;
        BYTE after[8];
    } basic;
    std::memset(&basic, 0xCD, sizeof basic);
    basic.info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    ASSERT_TRUE(GetVersionExW(&basic.info));
    EXPECT_EQ(basic.info.dwMajorVersion, 5u);
    EXPECT_EQ(basic.after[0], 0xCD);

    basic.info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW) - 4;
    EXPECT_FALSE(GetVersionExW(&basic.info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    winsim_reset();
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&ex)));
    EXPECT_EQ(ex.dwMajorVersion, 10u) << "reset returns to Windows 10";
    EXPECT_EQ(ex.dwBuildNumber, 19045u);
    EXPECT_EQ(ex.szCSDVersion[0], u'\0');
}

} // namespace
