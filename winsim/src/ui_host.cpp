// The host playing the user: typing, leaving a field, clicking, choosing list entries, and reading back what
// each control shows. Each action runs what it posted before it returns, as a message loop would.
#include "ui.h"

#include "reset.h"
#include "text.h"

#include <windows.h>
#include <winsim_host.h>

#include <cstring>

namespace {

using winsim::ui::find;
using winsim::ui::Kind;
using winsim::ui::Window;

Window* control(void* dialog, int id) {
    if (id == -1)
        return find(static_cast<HWND>(dialog), false);
    HWND item = GetDlgItem(static_cast<HWND>(dialog), id);
    return item ? find(item, false) : nullptr;
}

bool usable(Window* w) {
    return w && w->enabled && IsWindowVisible(w->handle);
}

} // namespace

namespace winsim {

// Windows go first and without a word to their procedures: a reset is a new machine, not a closing session.
void reset_user_interface() {
    ui::reset_windows();
    ui::reset_sheets();
    ui::reset_dialogs();
    ui::reset_gdi();
}

} // namespace winsim

extern "C" {

int winsim_ui_type(void* dialog, int id, const char* text) {
    Window* w = control(dialog, id);
    if (!usable(w) || w->kind != Kind::Edit || (w->style & ES_READONLY))
        return 0;
    const HWND field = w->handle;
    winsim::ui::set_focus(field);
    w = find(field, false);
    if (!w)
        return 0;
    std::u16string typed = winsim::from_utf8(text ? text : "");
    if (typed.size() > w->limit)
        typed.resize(w->limit);
    // ES_NUMBER fields refuse anything but digits, character by character.
    if (w->style & ES_NUMBER) {
        std::u16string digits;
        for (char16_t c : typed) {
            if (c >= u'0' && c <= u'9')
                digits.push_back(c);
        }
        typed = digits;
    }
    w->text = typed;
    w->selStart = w->selEnd = static_cast<DWORD>(typed.size());
    const HWND parent = w->parent;
    const int controlId = w->id;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(controlId, EN_UPDATE), reinterpret_cast<LPARAM>(field));
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(controlId, EN_CHANGE), reinterpret_cast<LPARAM>(field));
    winsim::ui::pump();
    return 1;
}

void winsim_ui_leave(void) {
    winsim::ui::set_focus(nullptr);
    winsim::ui::pump();
}

int winsim_ui_enter(void* dialog, int id, const char* text) {
    if (!winsim_ui_type(dialog, id, text))
        return 0;
    winsim_ui_leave();
    return 1;
}

int winsim_ui_click(void* dialog, int id) {
    Window* w = control(dialog, id);
    if (!usable(w) || w->kind != Kind::Button)
        return 0;
    SendMessageW(w->handle, BM_CLICK, 0, 0);
    winsim::ui::pump();
    return 1;
}

int winsim_ui_choose(void* dialog, int id, int index) {
    Window* w = control(dialog, id);
    if (!usable(w) || w->kind != Kind::ComboBox || index < 0 || index >= static_cast<int>(w->items.size()))
        return 0;
    const HWND list = w->handle;
    winsim::ui::set_focus(list);
    w = find(list, false);
    if (!w)
        return 0;
    w->selection = index;
    SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(w->id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    winsim::ui::pump();
    return 1;
}

int winsim_ui_text(void* dialog, int id, char* buf, size_t size) {
    Window* w = control(dialog, id);
    if (!w)
        return winsim::copy_out("", buf, size) - 1;
    const int length = GetWindowTextLengthW(w->handle);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    GetWindowTextW(w->handle, reinterpret_cast<LPWSTR>(text.data()), length + 1);
    text.resize(static_cast<size_t>(length));
    return winsim::copy_out(winsim::to_utf8(text), buf, size);
}

int winsim_ui_enabled(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w ? w->enabled : -1;
}

int winsim_ui_visible(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w ? IsWindowVisible(w->handle) : -1;
}

int winsim_ui_checked(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w ? static_cast<int>(w->check) : -1;
}

int winsim_ui_list_count(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w && w->kind == Kind::ComboBox ? static_cast<int>(w->items.size()) : -1;
}

int winsim_ui_list_text(void* dialog, int id, int index, char* buf, size_t size) {
    Window* w = control(dialog, id);
    if (!w || w->kind != Kind::ComboBox || index < 0 || index >= static_cast<int>(w->items.size()))
        return winsim::copy_out("", buf, size) - 1;
    return winsim::copy_out(winsim::to_utf8(w->items[static_cast<size_t>(index)].text), buf, size);
}

int winsim_ui_selection(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w && w->kind == Kind::ComboBox ? w->selection : -2;
}

void* winsim_ui_item(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w ? w->handle : nullptr;
}

void* winsim_ui_focus(void) {
    return GetFocus();
}

void winsim_ui_paint(void* window) {
    winsim::ui::paint(static_cast<HWND>(window), true);
    winsim::ui::pump();
}

void* winsim_ui_paint_brush(void* dialog, int id) {
    Window* w = control(dialog, id);
    return w ? w->paintBrush : nullptr;
}

uint32_t winsim_ui_windows(void) {
    return static_cast<uint32_t>(winsim::ui::live_windows());
}

} // extern "C"
