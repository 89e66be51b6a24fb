#include "device_page.h"

INT_PTR CALLBACK DeviceOptionsPageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
