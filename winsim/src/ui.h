// The headless window system shared by winsim's window manager, common dialogs, drawing and property sheets.
// Windows hold what each control shows; nothing is drawn on a screen. One thread owns the user interface, as
// on Windows a dialog belongs to the thread that made it: the calls are not locked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winsim::ui {

enum class Kind { Dialog, Frame, Button, Edit, Static, ComboBox, Other };

struct ListItem {
    std::u16string text;
    LRESULT data = 0;
};

// A window of a property sheet's frame, answered by its own procedure instead of a dialog procedure.
using FrameProc = LRESULT (*)(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

struct Window {
    HWND handle = nullptr;
    HWND parent = nullptr; // the parent of a child window, the owner of a top-level one
    Kind kind = Kind::Other;
    std::u16string className;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::u16string text;
    bool enabled = true;
    bool visible = false;
    HINSTANCE instance = nullptr;
    RECT rect = {};
    std::vector<HWND> children;
    // Dialogs.
    DLGPROC dialogProc = nullptr;
    FrameProc frameProc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;
    bool modal = false;
    bool ended = false;
    INT_PTR endResult = 0;
    // Every window.
    LONG_PTR userData = 0;
    bool invalid = false;
    bool destroying = false;
    HGDIOBJ paintBrush = nullptr; // what the parent answered at the last paint
    // Controls.
    UINT check = BST_UNCHECKED;
    std::vector<ListItem> items;
    int selection = -1;
    size_t limit = 32767;
    DWORD selStart = 0;
    DWORD selEnd = 0;
    HANDLE image = nullptr;
    WORD imageId = 0;
};

// The live window of that handle, or null (with ERROR_INVALID_WINDOW_HANDLE set when `report`).
Window* find(HWND handle, bool report = true);

enum class DialogUse { Modeless, Modal, Page };

// A dialog from a template in memory (DLGTEMPLATEEX or DLGTEMPLATE), WM_INITDIALOG sent; null when the
// template cannot be read or the dialog destroyed itself while initialising. A property sheet's page is
// made a hidden, enabled child control of its sheet whatever its template says, as property sheets do.
HWND create_dialog(HINSTANCE instance, const void* dialogTemplate, size_t size, HWND parent, DLGPROC proc,
                   LPARAM param, DialogUse use);

// A dialog from the module's RT_DIALOG resource.
HWND create_dialog(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param, DialogUse use);

// An empty top-level window answered by `proc`, for a property sheet's frame.
HWND create_frame(HWND owner, const std::u16string& title, FrameProc proc, LONG_PTR userData);

// Moves the keyboard focus, with the kill and set notifications a control sends its parent.
HWND set_focus(HWND window);

// Paints the window (and its children): each control asks its parent for its colours, owner-drawn ones are
// drawn by the parent.
void paint(HWND window, bool children);

// Runs what was posted, as a message loop would between a user's actions.
void pump();

size_t live_windows();

// The device context and brush objects of winsim's drawing (gdi.cpp).
HDC window_dc(HWND window);
void release_dc(HDC dc);

void reset_windows();
void reset_dialogs();
void reset_gdi();
void reset_sheets();

} // namespace winsim::ui
