// What the library is as a module: its handle and the function table it gives the engine.
#pragma once

#include <windows.h>
#include <winddi.h>

inline constexpr ULONG kDriverDdiVersion = DDI_DRIVER_VERSION_NT5_01_SP1;

// The module handle Windows gave DllMain; nullptr where nobody called it (the Linux build).
HINSTANCE ModuleHandle();

// The driver function table in slot order.
const DRVFN* DriverFunctions();
ULONG DriverFunctionCount();
