// The document sheet's label page.
#pragma once

#include <windows.h>

INT_PTR CALLBACK LabelPageProc(HWND, UINT, WPARAM, LPARAM);
