// Driving real dialogs from inside their own thread, as a user would: a thread timer runs one step of a
// script at every tick, also while a modal loop (a property sheet, a common dialog) holds the thread. A step
// answers false until what it waits for is there; a step that waits too long ends the script, and the
// script then closes whatever it left open so that the modal call returns.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

struct Step {
    std::string Name;
    std::function<bool()> Run; // true when done
};

// Runs `open` (a call that shows modal windows on this thread) while the steps drive them. Returns the
// failures: checks that did not hold, steps that timed out, and steps never reached.
std::vector<std::string> RunScript(const std::vector<Step>& steps, const std::function<void()>& open);

// Records a failed check of the running script; returns `ok`.
bool Check(bool ok, const std::string& what);

// Visible windows of this thread.
HWND FindPropertySheet();
// A visible dialog of this thread, other than the property sheet, holding a control with this id.
HWND FindDialogWith(int controlId);

// Moves a top-level window fully onto the screen, repaints it and writes it as a PNG.
bool Capture(HWND window, const std::wstring& path);

std::wstring Text(HWND window);
// Types into an edit field as the keyboard does: focus, select all, replace (the field's text limit holds).
void Type(HWND edit, const wchar_t* text);

} // namespace ui
