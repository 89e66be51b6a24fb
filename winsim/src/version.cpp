// Version queries, answered from a version the host sets.
#include "reset.h"
#include "services.h"
#include "text.h"

#include <winsim_host.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <compare>
#include <iterator>
#include <mutex>
#include <string>

namespace {

struct Version {
    DWORD major = 10;
    DWORD minor = 0;
    DWORD build = 19045;
    DWORD platform = VER_PLATFORM_WIN32_NT;
    WORD service_pack_major = 0;
    BYTE product_type = VER_NT_WORKSTATION;
};

std::mutex version_mutex;
Version current_version;

Version version() {
    std::lock_guard lock(version_mutex);
    return current_version;
}

BYTE condition_of(DWORDLONG mask, DWORD type_bit) {
    const int index = __builtin_ctz(type_bit);
    return static_cast<BYTE>((mask >> (index * VER_NUM_BITS_PER_CONDITION_MASK)) & VER_CONDITION_MASK);
}

bool holds(std::strong_ordering order, BYTE condition) {
    switch (condition) {
    case VER_EQUAL:
        return order == 0;
    case VER_GREATER:
        return order > 0;
    case VER_GREATER_EQUAL:
        return order >= 0;
    case VER_LESS:
        return order < 0;
    case VER_LESS_EQUAL:
        return order <= 0;
    default:
        return false;
    }
}

bool valid_relation(BYTE condition) {
    return condition >= VER_EQUAL && condition <= VER_LESS_EQUAL;
}

} // namespace

namespace winsim {

void reset_version() {
    std::lock_guard lock(version_mutex);
    current_version = Version{};
}

} // namespace winsim

using namespace winsim;

extern "C" {

void winsim_set_windows_version(uint32_t major, uint32_t minor, uint32_t service_pack_major, uint32_t build,
                                uint8_t product_type, uint32_t platform_id) {
    std::lock_guard lock(version_mutex);
    current_version =
        Version{major, minor, build, platform_id, static_cast<WORD>(service_pack_major), product_type};
}

ULONGLONG NTAPI VerSetConditionMask(ULONGLONG ConditionMask, DWORD TypeMask, BYTE Condition) {
    if (TypeMask == 0 || (Condition & VER_CONDITION_MASK) == 0)
        return ConditionMask;
    // Windows ORs the condition into place; a condition set once for a field cannot be changed.
    for (DWORD bits = TypeMask & 0xFF; bits; bits &= bits - 1) {
        const int index = __builtin_ctz(bits);
        ConditionMask |= static_cast<ULONGLONG>(Condition & VER_CONDITION_MASK)
                         << (index * VER_NUM_BITS_PER_CONDITION_MASK);
    }
    return ConditionMask;
}

WINBOOL WINAPI VerifyVersionInfoW(LPOSVERSIONINFOEXW lpVersionInformation, DWORD dwTypeMask,
                                  DWORDLONG dwlConditionMask) {
    if (const DWORD fault = enter(Service::VerifyVersionInfoW)) {
        SetLastError(fault);
        return FALSE;
    }
    if (!lpVersionInformation || dwTypeMask == 0 || dwlConditionMask == 0) {
        SetLastError(ERROR_BAD_ARGUMENTS);
        return FALSE;
    }
    const Version v = version();
    const OSVERSIONINFOEXW& want = *lpVersionInformation;

    const auto test = [&](DWORD bit, DWORD have, DWORD asked) {
        if (!(dwTypeMask & bit))
            return true;
        return holds(have <=> asked, condition_of(dwlConditionMask, bit));
    };
    bool ok = test(VER_PLATFORMID, v.platform, want.dwPlatformId) &&
              test(VER_BUILDNUMBER, v.build, want.dwBuildNumber) &&
              test(VER_PRODUCT_TYPE, v.product_type, want.wProductType);
    if (dwTypeMask & VER_SUITENAME) {
        // The simulated system has no suite bits: VER_AND holds only for an empty mask, VER_OR never.
        const BYTE c = condition_of(dwlConditionMask, VER_SUITENAME);
        if (c != VER_AND && c != VER_OR) {
            SetLastError(ERROR_BAD_ARGUMENTS);
            return FALSE;
        }
        ok = ok && c == VER_AND && want.wSuiteMask == 0;
    }

    // Major, minor and service pack form one version number: they are compared together, most significant
    // first, with the condition of the most significant one asked for. So 6.1 SP0 is at least 6.0 SP2.
    constexpr std::array<DWORD, 3> kParts = {VER_MAJORVERSION, VER_MINORVERSION, VER_SERVICEPACKMAJOR};
    const std::array<DWORD, 3> have = {v.major, v.minor, v.service_pack_major};
    const std::array<DWORD, 3> asked = {want.dwMajorVersion, want.dwMinorVersion, want.wServicePackMajor};
    BYTE condition = 0;
    std::strong_ordering order = std::strong_ordering::equal;
    for (size_t i = 0; i < kParts.size(); ++i) {
        if (!(dwTypeMask & kParts[i]))
            continue;
        if (condition == 0)
            condition = condition_of(dwlConditionMask, kParts[i]);
        if (order == 0)
            order = have[i] <=> asked[i];
    }
    if (condition != 0 && !valid_relation(condition)) {
        SetLastError(ERROR_BAD_ARGUMENTS);
        return FALSE;
    }
    if (ok && condition != 0)
        ok = holds(order, condition);
    if (!ok) {
        SetLastError(ERROR_OLD_WIN_VERSION);
        return FALSE;
    }
    return TRUE;
}

WINBOOL WINAPI GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) {
    if (const DWORD fault = enter(Service::GetVersionExW)) {
        SetLastError(fault);
        return FALSE;
    }
    if (!lpVersionInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD size = lpVersionInformation->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOW) && size != sizeof(OSVERSIONINFOEXW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const Version v = version();
    OSVERSIONINFOW& info = *lpVersionInformation;
    info.dwMajorVersion = v.major;
    info.dwMinorVersion = v.minor;
    info.dwBuildNumber = v.build;
    info.dwPlatformId = v.platform;
    const std::u16string csd =
        v.service_pack_major ? u"Service Pack " + from_utf8(std::to_string(v.service_pack_major)) : u"";
    std::fill(std::begin(info.szCSDVersion), std::end(info.szCSDVersion), u'\0');
    std::copy(csd.begin(), csd.end(), info.szCSDVersion);
    if (size == sizeof(OSVERSIONINFOEXW)) {
        auto& ex = reinterpret_cast<OSVERSIONINFOEXW&>(info);
        ex.wServicePackMajor = v.service_pack_major;
        ex.wServicePackMinor = 0;
        ex.wSuiteMask = 0;
        ex.wProductType = v.product_type;
        ex.wReserved = 0;
    }
    return TRUE;
}

} // extern "C"
