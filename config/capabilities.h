// What the printer can do, answered from a settled device record and the model tables: the answers of
// DrvDeviceCapabilities and DrvSplDeviceCaps.
#pragma once

#include <windows.h>

#include "devmode.h"

inline constexpr DWORD kCapabilityError = static_cast<DWORD>(-1); // GDI_ERROR: not supported

// Character slots of the name lists.
inline constexpr size_t kPaperNameChars = 64;
inline constexpr size_t kBinNameChars = 24;
inline constexpr size_t kMediaNameChars = 64;

// The answer for one capability. Lists are written to output when it is given (the caller sized it by an
// earlier call without output); without output only the count comes back.
DWORD DeviceCapability(const DRVDEVMODE* rec, WORD capability, void* output);

// The spooler's form for name lists into a buffer of capacityChars characters: as many whole names as
// fit, and how many that is.
DWORD SplDeviceCapability(const DRVDEVMODE* rec, WORD capability, void* output, DWORD capacityChars);
