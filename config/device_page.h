// The document sheet's device options page.
#pragma once

#include <windows.h>

INT_PTR CALLBACK DeviceOptionsPageProc(HWND, UINT, WPARAM, LPARAM);
