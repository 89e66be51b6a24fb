// One number classifying the running Windows version; several features compare against it.
#pragma once

#include <windows.h>

enum : LONG {
    OSCODE_9X = 2,
    OSCODE_NT3 = 101,
    OSCODE_NT4 = 102,
    OSCODE_2000 = 103,
    OSCODE_XP_FALLBACK = 104,
    OSCODE_XP = 201,
    OSCODE_2003 = 202,
    OSCODE_VISTA = 203,
    OSCODE_2008 = 204,
    OSCODE_WIN7 = 205,
    OSCODE_2008R2 = 206,
    OSCODE_WIN8 = 207,
    OSCODE_2012 = 208,
    OSCODE_WIN81 = 209,
    OSCODE_2012R2 = 210,
    OSCODE_WIN10 = 211,
    OSCODE_UNKNOWN = -1,
};

LONG GetOsVersionCode();
