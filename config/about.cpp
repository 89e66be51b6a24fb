// The About page of the printer sheet and the modal About box of the label page: the product title, the
// version and a rights notice beside the product bitmap.
#include "about.h"

#include <prsht.h>

#include "module.h"
#include "pages.h"
#include "printer_data.h"
#include "res/resource.h"
#include "wstr.h"

namespace {

constexpr WCHAR kProductTitle[] = TEXT("KT Label Printer Driver");
// The first line of the notice; the dialogs hold the second, " All rights reserved.".
constexpr WCHAR kRightsNotice[] = TEXT("Copyright (C) 2026 KT Label Systems.");

#if defined(KT_PROFILE_B)
#if defined(_WIN64) || UINTPTR_MAX > 0xFFFFFFFFu
constexpr WCHAR kVersionString[] = TEXT("1.02 (116012.02) <KT-936> <64bit>");
#else
constexpr WCHAR kVersionString[] = TEXT("1.02 (116014.02) <KT-936> <32bit>");
#endif
#else
#if defined(_WIN64) || UINTPTR_MAX > 0xFFFFFFFFu
constexpr WCHAR kVersionString[] = TEXT("1.02 (116009.02) <KT-508> <64bit>");
#else
constexpr WCHAR kVersionString[] = TEXT("1.02 (116016.02) <KT-508> <32bit>");
#endif
#endif

constexpr int kTextChars = 256;

struct ABOUTIDS {
    int Title;
    int Version;
    int Notice;
    int Bitmap;
};

constexpr ABOUTIDS kPageIds = {IDC_ABOUT_TITLE, IDC_ABOUT_VERSION, IDC_ABOUT_NOTICE, IDC_ABOUT_BITMAP};
constexpr ABOUTIDS kBoxIds = {IDC_BOX_TITLE, IDC_BOX_VERSION, IDC_BOX_NOTICE, IDC_BOX_BITMAP};

// "<own text> <tail>": the dialog's own word stays in front, a blank between.
void AppendToStatic(HWND dialog, int id, LPCWSTR tail) {
    WCHAR text[kTextChars] = {};
    GetDlgItemTextW(dialog, id, text, kTextChars);
    text[kTextChars - 1] = 0;
    size_t at = WStrLen(text, kTextChars);
    at += WStrCopy(text + at, kTextChars - at, TEXT(" "));
    WStrCopy(text + at, kTextChars - at, tail);
    SetDlgItemTextW(dialog, id, text);
}

void OpenAbout(HWND dialog, LPARAM description, const ABOUTIDS& ids) {
    KeepPageDescription(dialog, description);
    HWND bitmap = GetDlgItem(dialog, ids.Bitmap);
    if (bitmap) {
        InvalidateRect(bitmap, nullptr, TRUE);
        UpdateWindow(bitmap);
    }
    SetDlgItemTextW(dialog, ids.Title, kProductTitle);
    AppendToStatic(dialog, ids.Version, kVersionString);
    AppendToStatic(dialog, ids.Notice, kRightsNotice);
}

// The product bitmap at its own size, centred on the button; a larger one is clipped, never scaled.
BOOL DrawProductBitmap(const DRAWITEMSTRUCT* item) {
    HBITMAP picture = LoadBitmapW(ThisModule(), MAKEINTRESOURCEW(IDB_PRODUCT));
    if (!picture) {
        return TRUE;
    }
    BITMAP size = {};
    GetObjectW(picture, sizeof(size), &size);
    HDC memory = CreateCompatibleDC(item->hDC);
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, picture);
        const LONG width = item->rcItem.right - item->rcItem.left;
        const LONG height = item->rcItem.bottom - item->rcItem.top;
        BitBlt(item->hDC, item->rcItem.left + (width - size.bmWidth) / 2,
               item->rcItem.top + (height - size.bmHeight) / 2, size.bmWidth, size.bmHeight, memory, 0, 0,
               SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    DeleteObject(picture);
    return TRUE;
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OpenAbout(dialog, lParam, kBoxIds);
        if (GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) < 0) {
            SetDlgItemTextW(dialog, IDC_SETTINGS_VERSION, GetCoreVersionString());
        }
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == IDC_BOX_BITMAP) {
            return DrawProductBitmap(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BOX_OK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OpenAbout(page, lParam, kPageIds);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == IDC_ABOUT_BITMAP) {
            return DrawProductBitmap(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto* note = reinterpret_cast<const NMHDR*>(lParam);
        if (!note) {
            return FALSE;
        }
        switch (note->code) {
        case PSN_APPLY:
            ConfirmSheet(PageSheet(page));
            return AnswerNotice(page, 0);
        case PSN_KILLACTIVE:
            SyncPublicDevMode(PageSheet(page));
            return AnswerNotice(page, 0);
        case PSN_SETACTIVE:
        case PSN_RESET:
            return AnswerNotice(page, 0);
        default:
            return FALSE;
        }
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR ShowAboutBox(HWND labelPage) {
    const LPARAM description = GetWindowLongPtrW(labelPage, DWLP_USER);
    LibraryActivation activation;
    return DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_ABOUT_BOX), labelPage, AboutBoxProc,
                           description);
}
