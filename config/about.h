// The About page of the printer sheet and the modal About box of the label page.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutPageProc(HWND, UINT, WPARAM, LPARAM);
// Modal About box; its owner is the page and its parameter the page's description.
INT_PTR ShowAboutBox(HWND labelPage);
