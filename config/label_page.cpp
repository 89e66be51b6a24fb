#include "label_page.h"

INT_PTR CALLBACK LabelPageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
