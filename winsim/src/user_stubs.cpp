// The window manager, common dialogs, common controls, module and resource services and the drawing a dialog
// does, for a program that has no user interface: every call fails cleanly, with the error a Windows caller
// handles (no window, no module, no resource), so that a library that reaches them links and runs its
// failure paths.
#include <commctrl.h>
#include <compstui.h>
#include <windows.h>

namespace {

template <typename T> T fail(T value, DWORD error = ERROR_CALL_NOT_IMPLEMENTED) {
    SetLastError(error);
    return value;
}

} // namespace

extern "C" {

// Windows and dialogs: there are none, so every window handle is invalid.
LRESULT WINAPI SendMessageW(HWND, UINT, WPARAM, LPARAM) {
    return fail<LRESULT>(0, ERROR_INVALID_WINDOW_HANDLE);
}
LRESULT WINAPI SendDlgItemMessageW(HWND, int, UINT, WPARAM, LPARAM) {
    return fail<LRESULT>(0, ERROR_INVALID_WINDOW_HANDLE);
}
LRESULT WINAPI SendMessageTimeoutW(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR lpdwResult) {
    if (lpdwResult)
        *lpdwResult = 0;
    return fail<LRESULT>(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI PostMessageW(HWND, UINT, WPARAM, LPARAM) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
HWND WINAPI GetDlgItem(HWND, int) {
    return fail<HWND>(nullptr, ERROR_INVALID_WINDOW_HANDLE);
}
int WINAPI GetDlgCtrlID(HWND) {
    return fail(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI SetDlgItemTextW(HWND, int, LPCWSTR) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
UINT WINAPI GetDlgItemTextW(HWND, int, LPWSTR lpString, int cchMax) {
    if (lpString && cchMax > 0)
        lpString[0] = 0;
    return fail<UINT>(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI SetDlgItemInt(HWND, int, UINT, WINBOOL) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
UINT WINAPI GetDlgItemInt(HWND, int, WINBOOL* lpTranslated, WINBOOL) {
    if (lpTranslated)
        *lpTranslated = FALSE;
    return fail<UINT>(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI CheckDlgButton(HWND, int, UINT) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
UINT WINAPI IsDlgButtonChecked(HWND, int) {
    return fail<UINT>(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI CheckRadioButton(HWND, int, int, int) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI SetWindowTextW(HWND, LPCWSTR) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
int WINAPI GetWindowTextW(HWND, LPWSTR lpString, int nMaxCount) {
    if (lpString && nMaxCount > 0)
        lpString[0] = 0;
    return fail(0, ERROR_INVALID_WINDOW_HANDLE);
}
int WINAPI GetWindowTextLengthW(HWND) {
    return fail(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI EnableWindow(HWND, WINBOOL) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI IsWindowEnabled(HWND) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI ShowWindow(HWND, int) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI IsWindowVisible(HWND) {
    return FALSE;
}
WINBOOL WINAPI IsWindow(HWND) {
    return FALSE;
}
WINBOOL WINAPI DestroyWindow(HWND) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
HWND WINAPI GetParent(HWND) {
    return fail<HWND>(nullptr, ERROR_INVALID_WINDOW_HANDLE);
}
HWND WINAPI SetFocus(HWND) {
    return fail<HWND>(nullptr, ERROR_INVALID_WINDOW_HANDLE);
}
HWND WINAPI GetFocus(VOID) {
    return nullptr;
}
LONG_PTR WINAPI SetWindowLongPtrW(HWND, int, LONG_PTR) {
    return fail<LONG_PTR>(0, ERROR_INVALID_WINDOW_HANDLE);
}
LONG_PTR WINAPI GetWindowLongPtrW(HWND, int) {
    return fail<LONG_PTR>(0, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI InvalidateRect(HWND, const RECT*, WINBOOL) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI UpdateWindow(HWND) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
WINBOOL WINAPI GetClientRect(HWND, LPRECT lpRect) {
    if (lpRect)
        *lpRect = RECT{};
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
int WINAPI FillRect(HDC, const RECT*, HBRUSH) {
    return fail(0, ERROR_INVALID_HANDLE);
}
HDC WINAPI GetDC(HWND) {
    return fail<HDC>(nullptr, ERROR_INVALID_WINDOW_HANDLE);
}
int WINAPI ReleaseDC(HWND, HDC) {
    return 0;
}
DWORD WINAPI GetSysColor(int) {
    return RGB(240, 240, 240);
}
HBRUSH WINAPI GetSysColorBrush(int) {
    return nullptr;
}
// No key is down in a program without a keyboard.
SHORT WINAPI GetKeyState(int) {
    return 0;
}
int WINAPI MessageBoxW(HWND, LPCWSTR, LPCWSTR, UINT) {
    return fail(0, ERROR_CALL_NOT_IMPLEMENTED);
}
INT_PTR WINAPI DialogBoxParamW(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM) {
    return fail<INT_PTR>(-1, ERROR_RESOURCE_NAME_NOT_FOUND);
}
HWND WINAPI CreateDialogParamW(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM) {
    return fail<HWND>(nullptr, ERROR_RESOURCE_NAME_NOT_FOUND);
}
WINBOOL WINAPI EndDialog(HWND, INT_PTR) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_WINDOW_HANDLE);
}
HBITMAP WINAPI LoadBitmapW(HINSTANCE, LPCWSTR) {
    return fail<HBITMAP>(nullptr, ERROR_RESOURCE_NAME_NOT_FOUND);
}
HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR) {
    return fail<HICON>(nullptr, ERROR_RESOURCE_NAME_NOT_FOUND);
}
HANDLE WINAPI LoadImageW(HINSTANCE, LPCWSTR, UINT, int, int, UINT) {
    return fail<HANDLE>(nullptr, ERROR_RESOURCE_NAME_NOT_FOUND);
}
WINBOOL WINAPI DestroyIcon(HICON) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_HANDLE);
}
int WINAPI LoadStringW(HINSTANCE, UINT, LPWSTR lpBuffer, int cchBufferMax) {
    if (lpBuffer && cchBufferMax > 0)
        lpBuffer[0] = 0;
    return fail(0, ERROR_RESOURCE_NAME_NOT_FOUND);
}

// Property sheet pages and the common controls.
HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW) {
    return fail<HPROPSHEETPAGE>(nullptr);
}
WINBOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_HANDLE);
}
WINBOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}

// Common dialogs: cancelled, with CommDlgExtendedError saying they could not open.
WINBOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW) {
    return FALSE;
}
WINBOOL WINAPI GetSaveFileNameW(LPOPENFILENAMEW) {
    return FALSE;
}
WINBOOL WINAPI ChooseColorW(LPCHOOSECOLORW) {
    return FALSE;
}
DWORD WINAPI CommDlgExtendedError(VOID) {
    return CDERR_DIALOGFAILURE;
}

// The common property sheet library.
LONG APIENTRY CommonPropertySheetUIW(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD pResult) {
    if (pResult)
        *pResult = CPSUI_CANCEL;
    return fail<LONG>(ERR_CPSUI_GETLASTERROR);
}
ULONG_PTR APIENTRY GetCPSUIUserData(HWND) {
    return 0;
}
WINBOOL APIENTRY SetCPSUIUserData(HWND, ULONG_PTR) {
    return FALSE;
}

// Modules, resources and activation contexts.
HMODULE WINAPI LoadLibraryW(LPCWSTR) {
    return fail<HMODULE>(nullptr, ERROR_MOD_NOT_FOUND);
}
WINBOOL WINAPI FreeLibrary(HMODULE) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_HANDLE);
}
FARPROC WINAPI GetProcAddress(HMODULE, LPCSTR) {
    return fail<FARPROC>(nullptr, ERROR_PROC_NOT_FOUND);
}
HMODULE WINAPI GetModuleHandleW(LPCWSTR) {
    return fail<HMODULE>(nullptr, ERROR_MOD_NOT_FOUND);
}
DWORD WINAPI GetModuleFileNameW(HMODULE, LPWSTR lpFilename, DWORD nSize) {
    if (lpFilename && nSize > 0)
        lpFilename[0] = 0;
    return fail<DWORD>(0, ERROR_MOD_NOT_FOUND);
}
UINT WINAPI GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    static const WCHAR windows[] = TEXT("C:\\Windows");
    const UINT length = sizeof(windows) / sizeof(windows[0]) - 1;
    if (!lpBuffer || uSize <= length)
        return length + 1;
    for (UINT i = 0; i <= length; ++i)
        lpBuffer[i] = windows[i];
    return length;
}
HRSRC WINAPI FindResourceW(HMODULE, LPCWSTR, LPCWSTR) {
    return fail<HRSRC>(nullptr, ERROR_RESOURCE_TYPE_NOT_FOUND);
}
HGLOBAL WINAPI LoadResource(HMODULE, HRSRC) {
    return fail<HGLOBAL>(nullptr, ERROR_INVALID_HANDLE);
}
LPVOID WINAPI LockResource(HGLOBAL hResData) {
    return hResData;
}
DWORD WINAPI SizeofResource(HMODULE, HRSRC) {
    return fail<DWORD>(0, ERROR_INVALID_HANDLE);
}
WINBOOL WINAPI FreeResource(HGLOBAL) {
    return FALSE;
}
HANDLE WINAPI CreateActCtxW(PCACTCTXW) {
    return fail<HANDLE>(INVALID_HANDLE_VALUE);
}
WINBOOL WINAPI ActivateActCtx(HANDLE, ULONG_PTR* lpCookie) {
    if (lpCookie)
        *lpCookie = 0;
    return fail<WINBOOL>(FALSE, ERROR_INVALID_HANDLE);
}
WINBOOL WINAPI DeactivateActCtx(DWORD, ULONG_PTR) {
    return fail<WINBOOL>(FALSE, ERROR_INVALID_PARAMETER);
}
VOID WINAPI ReleaseActCtx(HANDLE) {}

// Drawing: no device contexts, so no object can be selected or drawn with.
HBRUSH WINAPI CreateSolidBrush(COLORREF) {
    return fail<HBRUSH>(nullptr);
}
WINBOOL WINAPI DeleteObject(HGDIOBJ) {
    return FALSE;
}
HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ) {
    return nullptr;
}
int WINAPI GetObjectW(HANDLE, int, LPVOID) {
    return 0;
}
HDC WINAPI CreateCompatibleDC(HDC) {
    return nullptr;
}
WINBOOL WINAPI DeleteDC(HDC) {
    return FALSE;
}
WINBOOL WINAPI BitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) {
    return FALSE;
}
COLORREF WINAPI SetBkColor(HDC, COLORREF) {
    return CLR_INVALID;
}
COLORREF WINAPI SetTextColor(HDC, COLORREF) {
    return CLR_INVALID;
}

} // extern "C"
