#include "os_version.h"

namespace {

bool AtLeast(DWORD major, DWORD minor) {
    OSVERSIONINFOEXW v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.wServicePackMajor = 0;
    DWORDLONG mask = 0;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&v, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, mask) != FALSE;
}

bool IsWorkstation() {
    OSVERSIONINFOEXW v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    v.wProductType = VER_NT_WORKSTATION;
    DWORDLONG mask = VerSetConditionMask(0, VER_PRODUCT_TYPE, VER_EQUAL);
    return VerifyVersionInfoW(&v, VER_PRODUCT_TYPE, mask) != FALSE;
}

struct VersionStep {
    DWORD Major, Minor;
    LONG Workstation, Server;
};

// Newest first: the first version the system reaches names it. Servers of 10.0 keep the code of
// 6.3 servers.
constexpr VersionStep kSteps[] = {
    {10, 0, OSCODE_WIN10, OSCODE_2012R2}, {6, 3, OSCODE_WIN81, OSCODE_2012R2},
    {6, 2, OSCODE_WIN8, OSCODE_2012},     {6, 1, OSCODE_WIN7, OSCODE_2008R2},
    {6, 0, OSCODE_VISTA, OSCODE_2008},    {5, 1, OSCODE_XP, OSCODE_2003},
};

LONG FromGetVersion() {
    OSVERSIONINFOEXW v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v))) {
        return OSCODE_UNKNOWN;
    }
    const bool workstation = v.wProductType == VER_NT_WORKSTATION;
    switch (v.dwMajorVersion) {
    case 3:
        return OSCODE_NT3;
    case 4:
        return v.dwPlatformId == VER_PLATFORM_WIN32_NT ? OSCODE_NT4 : OSCODE_9X;
    case 5:
        if (v.dwMinorVersion == 0) {
            return OSCODE_2000;
        }
        if (v.dwMinorVersion == 1) {
            return OSCODE_XP_FALLBACK;
        }
        if (v.dwMinorVersion == 2) {
            return workstation ? OSCODE_XP : OSCODE_2003;
        }
        return OSCODE_UNKNOWN;
    case 6:
        if (v.dwMinorVersion <= 2) {
            const VersionStep& s = kSteps[4 - v.dwMinorVersion];
            return workstation ? s.Workstation : s.Server;
        }
        return OSCODE_UNKNOWN;
    default:
        return OSCODE_UNKNOWN;
    }
}

} // namespace

LONG GetOsVersionCode() {
    const bool workstation = IsWorkstation();
    for (const VersionStep& s : kSteps) {
        if (AtLeast(s.Major, s.Minor)) {
            return workstation ? s.Workstation : s.Server;
        }
    }
    return FromGetVersion();
}
