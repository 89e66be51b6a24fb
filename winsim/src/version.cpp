// Version queries, answered from a version the host sets.
#include "reset.h"
#include "services.h"
#include "text.h"

#include <winsim_host.h>

#include <windows.h>

#include <algorithm>
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

bool is_relation(BYTE condition) {
    return condition >= VER_EQUAL && condition <= VER_LESS_EQUAL;
}

// A comparison with anything but a relation (no condition, VER_AND, VER_OR) never holds.
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

// Major, minor, service pack major and minor form one version number, compared field by field, most
// significant first, as Wine's kernel32 version tests show Windows doing. The first field asked for sets the
// direction; a later field's own condition counts only when it agrees with it (after VER_EQUAL any relation
// does, after a "greater" condition VER_EQUAL or another "greater" one, after a "less" one VER_EQUAL or
// another "less" one), and a field asked for without a condition of its own fixes the direction for the
// rest. The comparison goes on to the next field only while the fields are equal; its last step decides.
class VersionNumberCheck {
  public:
    // Compares one field; false when the fields after it are not to be compared.
    bool step(DWORD have, DWORD asked, BYTE own) {
        const BYTE condition = effective(own);
        result_ = holds(have <=> asked, condition);
        return have == asked && is_relation(condition);
    }
    bool result() const { return result_; }

  private:
    BYTE effective(BYTE own) {
        if (fixed_)
            return direction_;
        if (direction_ == 0) {
            direction_ = own;
            fixed_ = own == 0;
            return own;
        }
        const bool agrees = direction_ == VER_EQUAL ? is_relation(own)
                            : direction_ == VER_GREATER || direction_ == VER_GREATER_EQUAL
                                ? own == VER_EQUAL || own == VER_GREATER || own == VER_GREATER_EQUAL
                                : own == VER_EQUAL || own == VER_LESS || own == VER_LESS_EQUAL;
        if (agrees) {
            if (direction_ == VER_EQUAL)
                direction_ = own;
            return own;
        }
        fixed_ = own == 0;
        return direction_;
    }

    BYTE direction_ = 0;
    bool fixed_ = false;
    bool result_ = true;
};

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
    const auto old_version = [] {
        SetLastError(ERROR_OLD_WIN_VERSION);
        return FALSE;
    };
    const auto test = [&](DWORD bit, DWORD have, DWORD asked) {
        return !(dwTypeMask & bit) || holds(have <=> asked, condition_of(dwlConditionMask, bit));
    };

    if (!test(VER_PRODUCT_TYPE, v.product_type, want.wProductType))
        return old_version();
    if (dwTypeMask & VER_SUITENAME) {
        // The simulated system has no suite bits: asking for none holds with VER_AND and VER_OR alike.
        const BYTE c = condition_of(dwlConditionMask, VER_SUITENAME);
        if (c != VER_AND && c != VER_OR) {
            SetLastError(ERROR_BAD_ARGUMENTS);
            return FALSE;
        }
        if (want.wSuiteMask != 0)
            return old_version();
    }
    if (!test(VER_PLATFORMID, v.platform, want.dwPlatformId) ||
        !test(VER_BUILDNUMBER, v.build, want.dwBuildNumber))
        return old_version();

    struct Field {
        DWORD bit;
        DWORD have;
        DWORD asked;
    };
    const Field fields[] = {
        {VER_MAJORVERSION, v.major, want.dwMajorVersion},
        {VER_MINORVERSION, v.minor, want.dwMinorVersion},
        {VER_SERVICEPACKMAJOR, v.service_pack_major, want.wServicePackMajor},
        {VER_SERVICEPACKMINOR, 0, want.wServicePackMinor},
    };
    VersionNumberCheck number;
    for (const Field& field : fields) {
        if ((dwTypeMask & field.bit) &&
            !number.step(field.have, field.asked, condition_of(dwlConditionMask, field.bit)))
            break;
    }
    return number.result() ? TRUE : old_version();
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
