// The window manager, headless: windows and controls that hold what they show, dialogs built from the
// module's own dialog templates, the messages a dialog procedure sends and receives, focus, enabling and
// painting. Where Windows' behaviour is not obvious the comment says what it does; Wine's user32 is the
// reference.
#include "ui.h"

#include "reset.h"
#include "resources.h"
#include "text.h"

#include <winsim_host.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>

namespace winsim::ui {
namespace {

std::map<HWND, std::unique_ptr<Window>> windows;
ULONG_PTR nextHandle = 0x10010;
HWND focus = nullptr;

struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::deque<Posted> posted;

// Dialog base units of "MS UI Gothic" 9 at 96 dpi; only sizes reported by GetClientRect depend on them.
constexpr int kBaseX = 6;
constexpr int kBaseY = 12;

HWND new_handle() {
    nextHandle += 4;
    return reinterpret_cast<HWND>(nextHandle);
}

Window& add(std::unique_ptr<Window> window) {
    window->handle = new_handle();
    Window& made = *window;
    windows[made.handle] = std::move(window);
    if (Window* parent = find(made.parent, false); parent && (made.style & WS_CHILD))
        parent->children.push_back(made.handle);
    return made;
}

bool is_child_style(const Window& w) {
    return (w.style & WS_CHILD) != 0;
}

void notify_parent(HWND control, WORD code) {
    Window* w = find(control, false);
    if (!w || !is_child_style(*w))
        return;
    const HWND parent = w->parent;
    const int id = w->id;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

// The messages whose answer is the dialog procedure's return value itself, not DWLP_MSGRESULT.
bool answers_directly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

LRESULT copy_text(const std::u16string& text, WPARAM max, LPARAM buffer) {
    auto* out = reinterpret_cast<WCHAR*>(buffer);
    if (!out || max == 0)
        return 0;
    const size_t n = std::min<size_t>(text.size(), max - 1);
    std::memcpy(out, text.data(), n * sizeof(WCHAR));
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT text_message(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    Window* w = find(handle, false);
    switch (message) {
    case WM_SETTEXT:
        w->text = lParam ? std::u16string(winsim::view(reinterpret_cast<LPCWSTR>(lParam))) : std::u16string();
        if (w->kind == Kind::Edit) {
            w->selStart = w->selEnd = 0;
            // A single-line edit control reports new text from WM_SETTEXT as it reports typing.
            notify_parent(handle, EN_UPDATE);
            notify_parent(handle, EN_CHANGE);
        }
        return TRUE;
    case WM_GETTEXT:
        if (w->kind == Kind::ComboBox && (w->style & 3) == CBS_DROPDOWNLIST)
            return copy_text(w->selection >= 0 ? w->items[static_cast<size_t>(w->selection)].text : u"",
                             wParam, lParam);
        return copy_text(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        if (w->kind == Kind::ComboBox && (w->style & 3) == CBS_DROPDOWNLIST)
            return w->selection >= 0
                       ? static_cast<LRESULT>(w->items[static_cast<size_t>(w->selection)].text.size())
                       : 0;
        return static_cast<LRESULT>(w->text.size());
    default:
        handled = false;
        return 0;
    }
}

// An automatic radio button checks itself and clears the others of its group: the siblings from the nearest
// WS_GROUP at or before it up to the next WS_GROUP.
void check_in_group(HWND button) {
    Window* w = find(button, false);
    Window* parent = find(w->parent, false);
    if (!parent)
        return;
    const auto& siblings = parent->children;
    auto at = std::find(siblings.begin(), siblings.end(), button);
    if (at == siblings.end())
        return;
    auto first = at;
    while (first != siblings.begin() && !(find(*first, false)->style & WS_GROUP))
        --first;
    for (auto it = first; it != siblings.end(); ++it) {
        Window* s = find(*it, false);
        if (it != first && (s->style & WS_GROUP))
            break;
        if (s->kind == Kind::Button && (s->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
            s->check = *it == button ? BST_CHECKED : BST_UNCHECKED;
    }
}

void click(HWND button) {
    Window* w = find(button, false);
    if (!w || !w->enabled)
        return;
    set_focus(button);
    w = find(button, false);
    if (!w)
        return;
    switch (w->style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
        w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        break;
    case BS_AUTO3STATE:
        w->check = (w->check + 1) % 3;
        break;
    case BS_AUTORADIOBUTTON:
        check_in_group(button);
        break;
    default:
        break;
    }
    notify_parent(button, BN_CLICKED);
}

LRESULT button_message(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(handle, false);
    switch (message) {
    case BM_GETCHECK:
        return static_cast<LRESULT>(w->check);
    case BM_SETCHECK:
        w->check = static_cast<UINT>(wParam) <= BST_INDETERMINATE ? static_cast<UINT>(wParam) : BST_UNCHECKED;
        return 0;
    case BM_CLICK:
        click(handle);
        return 0;
    case BM_SETIMAGE: {
        HANDLE old = w->image;
        w->image = reinterpret_cast<HANDLE>(lParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(w->image);
    default:
        return 0;
    }
}

LRESULT static_message(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(handle, false);
    HANDLE old = w->image;
    switch (message) {
    case STM_SETICON:
        w->image = reinterpret_cast<HANDLE>(wParam);
        return reinterpret_cast<LRESULT>(old);
    case STM_SETIMAGE:
        w->image = reinterpret_cast<HANDLE>(lParam);
        return reinterpret_cast<LRESULT>(old);
    case STM_GETICON:
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(old);
    default:
        return 0;
    }
}

LRESULT edit_message(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(handle, false);
    switch (message) {
    case EM_LIMITTEXT:
        // Zero lifts the limit to the largest a single-line control takes.
        w->limit = wParam ? static_cast<size_t>(wParam) : size_t{0x7FFFFFFE};
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(w->limit);
    case EM_SETREADONLY:
        w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~DWORD{ES_READONLY});
        return TRUE;
    case EM_SETSEL: {
        const auto size = static_cast<LONG_PTR>(w->text.size());
        auto clamp = [size](LONG_PTR v) { return static_cast<DWORD>(v < 0 || v > size ? size : v); };
        DWORD start = static_cast<LONG_PTR>(wParam) < 0 ? 0 : clamp(static_cast<LONG_PTR>(wParam));
        DWORD end = static_cast<LONG_PTR>(wParam) < 0 ? 0 : clamp(lParam);
        w->selStart = std::min(start, end);
        w->selEnd = std::max(start, end);
        return 0;
    }
    case EM_GETSEL:
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = w->selStart;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = w->selEnd;
        return MAKELRESULT(w->selStart, w->selEnd);
    case EM_REPLACESEL: {
        std::u16string insert =
            lParam ? std::u16string(winsim::view(reinterpret_cast<LPCWSTR>(lParam))) : std::u16string();
        const size_t start = std::min<size_t>(w->selStart, w->text.size());
        const size_t end = std::min<size_t>(w->selEnd, w->text.size());
        w->text.replace(start, end - start, insert);
        w->selStart = w->selEnd = static_cast<DWORD>(start + insert.size());
        notify_parent(handle, EN_UPDATE);
        notify_parent(handle, EN_CHANGE);
        return 0;
    }
    default:
        return 0;
    }
}

bool less_ignoring_case(const std::u16string& a, const std::u16string& b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char16_t x, char16_t y) { return lower(x) < lower(y); });
}

LRESULT combo_message(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(handle, false);
    auto& items = w->items;
    const auto count = static_cast<LRESULT>(items.size());
    const auto index = static_cast<LRESULT>(static_cast<int>(wParam));
    auto text_of = [](LPARAM p) {
        return p ? std::u16string(winsim::view(reinterpret_cast<LPCWSTR>(p))) : std::u16string();
    };
    auto find_text = [&](bool exact) -> LRESULT {
        const std::u16string wanted = text_of(lParam);
        const LRESULT start = index < 0 || index >= count ? -1 : index;
        for (LRESULT n = 1; n <= count; ++n) {
            const LRESULT i = (start + n) % count;
            const std::u16string& t = items[static_cast<size_t>(i)].text;
            const std::u16string_view head =
                exact ? std::u16string_view(t) : std::u16string_view(t).substr(0, wanted.size());
            if (winsim::equal_ignoring_case(head, wanted))
                return i;
        }
        return CB_ERR;
    };
    switch (message) {
    case CB_ADDSTRING: {
        ListItem item{text_of(lParam), 0};
        auto at = items.end();
        if (w->style & CBS_SORT)
            at = std::upper_bound(items.begin(), items.end(), item, [](const ListItem& a, const ListItem& b) {
                return less_ignoring_case(a.text, b.text);
            });
        const auto position = at - items.begin();
        items.insert(at, std::move(item));
        if (w->selection >= position)
            ++w->selection;
        return static_cast<LRESULT>(position);
    }
    case CB_INSERTSTRING: {
        if (index > count)
            return CB_ERR;
        const LRESULT position = index < 0 ? count : index;
        items.insert(items.begin() + position, ListItem{text_of(lParam), 0});
        if (w->selection >= position)
            ++w->selection;
        return position;
    }
    case CB_DELETESTRING:
        if (index < 0 || index >= count)
            return CB_ERR;
        items.erase(items.begin() + index);
        // The selection does not follow: deleting the selected entry leaves none selected.
        if (w->selection == index)
            w->selection = -1;
        else if (w->selection > index)
            --w->selection;
        return count - 1;
    case CB_RESETCONTENT:
        items.clear();
        w->selection = -1;
        return CB_OKAY;
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return w->selection;
    case CB_SETCURSEL:
        if (index < 0 || index >= count) {
            w->selection = -1;
            return CB_ERR;
        }
        w->selection = static_cast<int>(index);
        return index;
    case CB_GETLBTEXT:
        if (index < 0 || index >= count)
            return CB_ERR;
        return copy_text(items[static_cast<size_t>(index)].text,
                         items[static_cast<size_t>(index)].text.size() + 1, lParam);
    case CB_GETLBTEXTLEN:
        return index < 0 || index >= count
                   ? CB_ERR
                   : static_cast<LRESULT>(items[static_cast<size_t>(index)].text.size());
    case CB_SETITEMDATA:
        if (index < 0 || index >= count)
            return CB_ERR;
        items[static_cast<size_t>(index)].data = lParam;
        return TRUE;
    case CB_GETITEMDATA:
        return index < 0 || index >= count ? CB_ERR : items[static_cast<size_t>(index)].data;
    case CB_FINDSTRINGEXACT:
        return find_text(true);
    case CB_FINDSTRING:
        return find_text(false);
    case CB_SELECTSTRING: {
        const LRESULT found = find_text(false);
        if (found != CB_ERR)
            w->selection = static_cast<int>(found);
        return found;
    }
    case CB_LIMITTEXT:
        w->limit = wParam ? static_cast<size_t>(wParam) : size_t{0x7FFFFFFE};
        return TRUE;
    default:
        return 0;
    }
}

LRESULT dialog_default(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT text = text_message(handle, message, wParam, lParam, handled);
    if (handled)
        return text;
    switch (message) {
    case WM_CLOSE:
        // As the Esc key: the dialog hears IDCANCEL from its Cancel button, if it has one.
        SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(handle, IDCANCEL)));
        return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
        return reinterpret_cast<LRESULT>(
            GetSysColorBrush(message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE));
    default:
        return 0;
    }
}

LRESULT dialog_message(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(handle, false);
    DLGPROC proc = w->dialogProc;
    // The result of the previous message does not carry over to this one.
    w->msgResult = 0;
    const INT_PTR answer = proc ? proc(handle, message, wParam, lParam) : FALSE;
    if (answers_directly(message))
        return answer ? answer
                      : (message == WM_INITDIALOG ? 0 : dialog_default(handle, message, wParam, lParam));
    w = find(handle, false);
    if (answer)
        return w ? w->msgResult : 0;
    return w ? dialog_default(handle, message, wParam, lParam) : 0;
}

// ---- Templates ----

struct ItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    WORD classOrdinal = 0;
    std::u16string className;
    WORD titleOrdinal = 0;
    std::u16string title;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::u16string title;
    std::vector<ItemTemplate> items;
};

class TemplateReader {
  public:
    TemplateReader(const void* bytes, size_t size)
        : bytes_(static_cast<const uint8_t*>(bytes)), size_(size) {}
    bool ok() const { return ok_; }
    WORD word() {
        if (at_ + 2 > size_) {
            ok_ = false;
            return 0;
        }
        WORD v = static_cast<WORD>(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return v;
    }
    DWORD dword() {
        DWORD low = word();
        return low | static_cast<DWORD>(word()) << 16;
    }
    short coordinate() { return static_cast<short>(word()); }
    void byte() {
        if (at_ + 1 > size_)
            ok_ = false;
        else
            ++at_;
    }
    std::u16string string() {
        std::u16string s;
        while (ok_) {
            WORD c = word();
            if (!ok_ || c == 0)
                break;
            s.push_back(static_cast<char16_t>(c));
        }
        return s;
    }
    // A string or 0xFFFF and an ordinal; 0x0000 alone is neither.
    void string_or_ordinal(WORD& ordinal, std::u16string& text) {
        WORD first = word();
        if (first == 0xFFFF) {
            ordinal = word();
            return;
        }
        if (first == 0)
            return;
        text.push_back(static_cast<char16_t>(first));
        text += string();
    }
    void align() { at_ = (at_ + 3) & ~size_t{3}; }
    void skip(size_t n) {
        if (n > size_ - std::min(at_, size_))
            ok_ = false;
        else
            at_ += n;
    }

  private:
    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

bool read_template(const void* bytes, size_t size, DialogTemplate& out) {
    TemplateReader r(bytes, size);
    const WORD version = r.word();
    const WORD signature = r.word();
    const bool extended = version == 1 && signature == 0xFFFF;
    WORD count = 0;
    if (extended) {
        r.dword(); // help id
        out.exStyle = r.dword();
        out.style = r.dword();
    } else {
        out.style = static_cast<DWORD>(version) | static_cast<DWORD>(signature) << 16;
        out.exStyle = r.dword();
    }
    count = r.word();
    out.x = r.coordinate();
    out.y = r.coordinate();
    out.cx = r.coordinate();
    out.cy = r.coordinate();
    WORD ordinal = 0;
    std::u16string ignored;
    r.string_or_ordinal(ordinal, ignored); // menu
    ignored.clear();
    r.string_or_ordinal(ordinal, ignored); // class
    out.title = r.string();
    if (out.style & DS_SETFONT) {
        r.word(); // point size
        if (extended) {
            r.word(); // weight
            r.byte(); // italic
            r.byte(); // character set
        }
        r.string(); // typeface
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.align();
        ItemTemplate item;
        if (extended) {
            r.dword(); // help id
            item.exStyle = r.dword();
            item.style = r.dword();
        } else {
            item.style = r.dword();
            item.exStyle = r.dword();
        }
        item.x = r.coordinate();
        item.y = r.coordinate();
        item.cx = r.coordinate();
        item.cy = r.coordinate();
        item.id = extended ? static_cast<int>(r.dword()) : static_cast<short>(r.word());
        r.string_or_ordinal(item.classOrdinal, item.className);
        r.string_or_ordinal(item.titleOrdinal, item.title);
        r.skip(r.word()); // creation data
        out.items.push_back(std::move(item));
    }
    return r.ok();
}

Kind kind_of(const ItemTemplate& item, std::u16string& className) {
    static const struct {
        WORD ordinal;
        const char16_t* name;
        Kind kind;
    } kClasses[] = {
        {0x80, u"Button", Kind::Button},   {0x81, u"Edit", Kind::Edit},
        {0x82, u"Static", Kind::Static},   {0x83, u"ListBox", Kind::Other},
        {0x84, u"ScrollBar", Kind::Other}, {0x85, u"ComboBox", Kind::ComboBox},
    };
    for (const auto& c : kClasses) {
        if (item.className.empty() ? item.classOrdinal == c.ordinal
                                   : winsim::equal_ignoring_case(item.className, c.name)) {
            className = c.name;
            return c.kind;
        }
    }
    className = item.className;
    return Kind::Other;
}

RECT to_pixels(short x, short y, short cx, short cy) {
    return RECT{x * kBaseX / 4, y * kBaseY / 8, (x + cx) * kBaseX / 4, (y + cy) * kBaseY / 8};
}

HWND first_tab_stop(const Window& dialog) {
    for (HWND child : dialog.children) {
        Window* c = find(child, false);
        if (c && (c->style & WS_TABSTOP) && c->enabled && c->visible)
            return child;
    }
    return nullptr;
}

void destroy_tree(HWND handle) {
    Window* w = find(handle, false);
    if (!w)
        return;
    w->destroying = true;
    SendMessageW(handle, WM_DESTROY, 0, 0);
    w = find(handle, false);
    std::vector<HWND> children = w ? w->children : std::vector<HWND>{};
    for (HWND child : children)
        destroy_tree(child);
    SendMessageW(handle, WM_NCDESTROY, 0, 0);
    w = find(handle, false);
    if (!w)
        return;
    if (Window* parent = find(w->parent, false)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    }
    windows.erase(handle);
}

bool contains(HWND ancestor, HWND window) {
    for (Window* w = find(window, false); w; w = is_child_style(*w) ? find(w->parent, false) : nullptr) {
        if (w->handle == ancestor)
            return true;
    }
    return false;
}

} // namespace

Window* find(HWND handle, bool report) {
    auto it = windows.find(handle);
    if (it == windows.end()) {
        if (report)
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

HWND create_dialog(HINSTANCE instance, const void* bytes, size_t size, HWND parent, DLGPROC proc,
                   LPARAM param, DialogUse use) {
    DialogTemplate t;
    if (!bytes || !read_template(bytes, size, t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (use == DialogUse::Page)
        t.style = (t.style | WS_CHILD | WS_TABSTOP | DS_CONTROL) &
                  ~DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DISABLED | WS_VISIBLE | WS_THICKFRAME};
    if (parent && !find(parent)) {
        return nullptr;
    }
    auto dialog = std::make_unique<Window>();
    dialog->kind = Kind::Dialog;
    dialog->className = u"#32770";
    dialog->style = t.style;
    dialog->exStyle = t.exStyle;
    dialog->text = t.title;
    dialog->parent = parent;
    dialog->instance = instance;
    dialog->dialogProc = proc;
    dialog->modal = use == DialogUse::Modal;
    dialog->enabled = !(t.style & WS_DISABLED);
    dialog->rect = to_pixels(0, 0, t.cx, t.cy);
    const HWND handle = add(std::move(dialog)).handle;
    for (const ItemTemplate& item : t.items) {
        auto control = std::make_unique<Window>();
        control->kind = kind_of(item, control->className);
        control->style = item.style | WS_CHILD;
        control->exStyle = item.exStyle;
        control->id = item.id;
        control->text = item.title;
        control->imageId = item.titleOrdinal;
        control->parent = handle;
        control->instance = instance;
        control->enabled = !(item.style & WS_DISABLED);
        control->visible = (item.style & WS_VISIBLE) != 0;
        control->rect = to_pixels(item.x, item.y, item.cx, item.cy);
        if (control->kind == Kind::Static && control->imageId && (item.style & SS_TYPEMASK) == SS_ICON)
            control->image = LoadIconW(instance, MAKEINTRESOURCEW(control->imageId));
        add(std::move(control));
    }
    const HWND first = first_tab_stop(*find(handle, false));
    const LRESULT setFocus = SendMessageW(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    Window* made = find(handle, false);
    if (!made)
        return nullptr;
    // A TRUE answer asks the system to focus the first control; FALSE means the procedure chose itself.
    if (setFocus && first && find(first, false) && !made->ended)
        set_focus(first);
    made = find(handle, false);
    if (made && (t.style & WS_VISIBLE))
        made->visible = true;
    return made ? handle : nullptr;
}

HWND create_dialog(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param, DialogUse use) {
    HRSRC resource = FindResourceW(instance, name, RT_DIALOG);
    if (!resource)
        return nullptr;
    const void* bytes = LockResource(LoadResource(instance, resource));
    return create_dialog(instance, bytes, SizeofResource(instance, resource), parent, proc, param, use);
}

HWND create_frame(HWND owner, const std::u16string& title, FrameProc proc, LONG_PTR userData) {
    auto frame = std::make_unique<Window>();
    frame->kind = Kind::Frame;
    frame->className = u"#32770";
    frame->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    frame->text = title;
    frame->parent = owner;
    frame->frameProc = proc;
    frame->userData = userData;
    frame->visible = true;
    frame->rect = to_pixels(0, 0, 252, 218);
    return add(std::move(frame)).handle;
}

HWND set_focus(HWND window) {
    const HWND old = focus;
    if (window == old)
        return old;
    focus = window;
    if (Window* w = find(old, false)) {
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
        if (find(old, false)) {
            if (w->kind == Kind::Edit)
                notify_parent(old, EN_KILLFOCUS);
            else if (w->kind == Kind::ComboBox)
                notify_parent(old, CBN_KILLFOCUS);
            else if (w->kind == Kind::Button && (w->style & BS_NOTIFY))
                notify_parent(old, BN_KILLFOCUS);
        }
    }
    if (focus != window)
        return old; // the kill notice moved the focus on
    if (Window* w = find(window, false)) {
        SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
        if (find(window, false)) {
            if (w->kind == Kind::Edit)
                notify_parent(window, EN_SETFOCUS);
            else if (w->kind == Kind::ComboBox)
                notify_parent(window, CBN_SETFOCUS);
            else if (w->kind == Kind::Button && (w->style & BS_NOTIFY))
                notify_parent(window, BN_SETFOCUS);
        }
    }
    return old;
}

void paint(HWND handle, bool children) {
    Window* w = find(handle, false);
    if (!w)
        return;
    w->invalid = false;
    if (is_child_style(*w) && w->kind != Kind::Dialog) {
        const HWND parent = w->parent;
        HDC dc = window_dc(handle);
        const DWORD buttonType = w->style & BS_TYPEMASK;
        const bool ownerDrawn = (w->kind == Kind::Button && buttonType == BS_OWNERDRAW) ||
                                (w->kind == Kind::Static && (w->style & SS_TYPEMASK) == SS_OWNERDRAW);
        // Every control asks its parent for its brush first, owner-drawn ones too (they erase with it),
        // then an owner-drawn one has the parent draw it.
        UINT message = WM_CTLCOLORSTATIC;
        if (w->kind == Kind::Edit || w->kind == Kind::ComboBox)
            message = WM_CTLCOLOREDIT;
        else if (w->kind == Kind::Button && buttonType != BS_GROUPBOX && buttonType != BS_AUTOCHECKBOX &&
                 buttonType != BS_CHECKBOX && buttonType != BS_AUTORADIOBUTTON &&
                 buttonType != BS_RADIOBUTTON)
            message = WM_CTLCOLORBTN;
        const LRESULT brush =
            SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(handle));
        w = find(handle, false);
        if (w)
            w->paintBrush = reinterpret_cast<HGDIOBJ>(brush);
        if (w && ownerDrawn) {
            DRAWITEMSTRUCT draw = {};
            draw.CtlType = w->kind == Kind::Button ? ODT_BUTTON : ODT_STATIC;
            draw.CtlID = static_cast<UINT>(w->id);
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState =
                (w->enabled ? 0u : UINT{ODS_DISABLED}) | (focus == handle ? UINT{ODS_FOCUS} : 0u);
            draw.hwndItem = handle;
            draw.hDC = dc;
            draw.rcItem = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
            SendMessageW(parent, WM_DRAWITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&draw));
        }
        release_dc(dc);
    }
    w = find(handle, false);
    if (!w || !children)
        return;
    std::vector<HWND> list = w->children;
    for (HWND child : list) {
        Window* c = find(child, false);
        if (c && c->visible)
            paint(child, true);
    }
}

void pump() {
    while (!posted.empty()) {
        Posted p = posted.front();
        posted.pop_front();
        if (find(p.window, false))
            SendMessageW(p.window, p.message, p.wParam, p.lParam);
    }
}

size_t live_windows() {
    return windows.size();
}

void reset_windows() {
    windows.clear();
    posted.clear();
    focus = nullptr;
}

} // namespace winsim::ui

using winsim::ui::find;
using winsim::ui::Kind;
using winsim::ui::Window;

extern "C" {

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = find(hWnd);
    if (!w)
        return 0;
    if (w->kind == Kind::Dialog)
        return winsim::ui::dialog_message(hWnd, Msg, wParam, lParam);
    bool handled = false;
    const LRESULT text = winsim::ui::text_message(hWnd, Msg, wParam, lParam, handled);
    if (handled)
        return text;
    if (w->kind == Kind::Frame)
        return w->frameProc ? w->frameProc(hWnd, Msg, wParam, lParam) : 0;
    switch (w->kind) {
    case Kind::Button:
        return winsim::ui::button_message(hWnd, Msg, wParam, lParam);
    case Kind::Static:
        return winsim::ui::static_message(hWnd, Msg, wParam, lParam);
    case Kind::Edit:
        return winsim::ui::edit_message(hWnd, Msg, wParam, lParam);
    case Kind::ComboBox:
        return winsim::ui::combo_message(hWnd, Msg, wParam, lParam);
    default:
        return 0;
    }
}

WINBOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!find(hWnd))
        return FALSE;
    winsim::ui::posted.push_back({hWnd, Msg, wParam, lParam});
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* dialog = find(hDlg);
    if (!dialog)
        return nullptr;
    for (HWND child : dialog->children) {
        Window* c = find(child, false);
        if (c && c->id == nIDDlgItem)
            return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    Window* w = find(hWnd);
    return w ? w->id : 0;
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SendMessageW(item, Msg, wParam, lParam) : 0;
}

WINBOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    if (!find(hWnd))
        return FALSE;
    return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0;
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (lpString && nMaxCount > 0)
        lpString[0] = 0;
    if (!find(hWnd) || !lpString || nMaxCount <= 0)
        return 0;
    return static_cast<int>(
        SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
    if (!find(hWnd))
        return 0;
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

WINBOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SetWindowTextW(item, lpString) : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
    if (lpString && cchMax > 0)
        lpString[0] = 0;
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? static_cast<UINT>(GetWindowTextW(item, lpString, cchMax)) : 0;
}

WINBOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, WINBOOL bSigned) {
    std::u16string text;
    long long value =
        bSigned ? static_cast<long long>(static_cast<int>(uValue)) : static_cast<long long>(uValue);
    const bool negative = value < 0;
    unsigned long long magnitude =
        negative ? static_cast<unsigned long long>(-value) : static_cast<unsigned long long>(value);
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        text.insert(text.begin(), u'-');
    return SetDlgItemTextW(hDlg, nIDDlgItem, reinterpret_cast<LPCWSTR>(text.c_str()));
}

// Leading blanks and a sign (when signed) are allowed, trailing text is not; a value out of range fails.
UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, WINBOOL* lpTranslated, WINBOOL bSigned) {
    if (lpTranslated)
        *lpTranslated = FALSE;
    WCHAR buffer[64] = {};
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (!item)
        return 0;
    GetWindowTextW(item, buffer, 64);
    std::u16string_view text = winsim::view(buffer);
    size_t at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    bool negative = false;
    if (bSigned && at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        negative = text[at++] == u'-';
    const size_t digits = at;
    unsigned long long value = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
        value = value * 10 + static_cast<unsigned>(text[at++] - u'0');
        if (value > 0xFFFFFFFFull)
            return 0;
    }
    while (at < text.size() && text[at] == u' ')
        ++at;
    if (at == digits || at != text.size())
        return 0;
    if (bSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return 0;
    if (lpTranslated)
        *lpTranslated = TRUE;
    return negative ? static_cast<UINT>(0u - static_cast<UINT>(value)) : static_cast<UINT>(value);
}

WINBOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND item = GetDlgItem(hDlg, nIDButton);
    if (!item)
        return FALSE;
    SendMessageW(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    HWND item = GetDlgItem(hDlg, nIDButton);
    return item ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

WINBOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    Window* dialog = find(hDlg);
    if (!dialog)
        return FALSE;
    for (HWND child : dialog->children) {
        Window* c = find(child, false);
        if (c && c->id >= nIDFirstButton && c->id <= nIDLastButton)
            c->check = c->id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED;
    }
    return TRUE;
}

WINBOOL WINAPI EnableWindow(HWND hWnd, WINBOOL bEnable) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    const bool wasDisabled = !w->enabled;
    const bool enable = bEnable != FALSE;
    if (w->enabled != enable) {
        w->enabled = enable;
        // A window that loses its input also loses the keyboard focus, with the kill notification.
        if (!enable && winsim::ui::contains(hWnd, winsim::ui::focus))
            winsim::ui::set_focus(nullptr);
        SendMessageW(hWnd, WM_ENABLE, enable, 0);
    }
    return wasDisabled;
}

WINBOOL WINAPI IsWindowEnabled(HWND hWnd) {
    Window* w = find(hWnd);
    return w && w->enabled;
}

WINBOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    const bool was = w->visible;
    w->visible = nCmdShow != SW_HIDE;
    if (!w->visible && winsim::ui::contains(hWnd, winsim::ui::focus))
        winsim::ui::set_focus(nullptr);
    return was;
}

// Visible when it and every parent are.
WINBOOL WINAPI IsWindowVisible(HWND hWnd) {
    for (Window* w = find(hWnd, false); w;
         w = winsim::ui::is_child_style(*w) ? find(w->parent, false) : nullptr) {
        if (!w->visible)
            return FALSE;
        if (!winsim::ui::is_child_style(*w))
            return TRUE;
    }
    return FALSE;
}

WINBOOL WINAPI IsWindow(HWND hWnd) {
    return find(hWnd, false) != nullptr;
}

WINBOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    if (w->destroying)
        return TRUE;
    // The focus leaves first, so that a field being left still reports it to its living dialog.
    if (winsim::ui::contains(hWnd, winsim::ui::focus))
        winsim::ui::set_focus(winsim::ui::is_child_style(*w) ? w->parent : nullptr);
    // Windows it owns (a modal box over it) go with it.
    std::vector<HWND> owned;
    for (auto& [handle, other] : winsim::ui::windows) {
        if (other->parent == hWnd && !winsim::ui::is_child_style(*other))
            owned.push_back(handle);
    }
    for (HWND o : owned)
        DestroyWindow(o);
    winsim::ui::destroy_tree(hWnd);
    return TRUE;
}

HWND WINAPI GetParent(HWND hWnd) {
    Window* w = find(hWnd);
    if (!w)
        return nullptr;
    if (!find(w->parent, false)) {
        SetLastError(ERROR_SUCCESS);
        return nullptr;
    }
    return w->parent;
}

HWND WINAPI SetFocus(HWND hWnd) {
    if (hWnd && !find(hWnd))
        return nullptr;
    return winsim::ui::set_focus(hWnd);
}

HWND WINAPI GetFocus(VOID) {
    return winsim::ui::focus;
}

namespace {

LONG_PTR* dialog_field(Window* w, int nIndex) {
    if (w->kind != Kind::Dialog)
        return nullptr;
    switch (nIndex) {
    case DWLP_MSGRESULT:
        return &w->msgResult;
    case DWLP_USER:
        return &w->user;
    default:
        return nullptr;
    }
}

} // namespace

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* w = find(hWnd);
    if (!w)
        return 0;
    LONG_PTR old = 0;
    if (LONG_PTR* field = dialog_field(w, nIndex)) {
        old = *field;
        *field = dwNewLong;
        return old;
    }
    switch (nIndex) {
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = dwNewLong;
        return old;
    case GWLP_ID:
        old = w->id;
        w->id = static_cast<int>(dwNewLong);
        return old;
    case GWL_STYLE:
        old = static_cast<LONG_PTR>(w->style);
        w->style = static_cast<DWORD>(dwNewLong);
        return old;
    case GWL_EXSTYLE:
        old = static_cast<LONG_PTR>(w->exStyle);
        w->exStyle = static_cast<DWORD>(dwNewLong);
        return old;
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
    Window* w = find(hWnd);
    if (!w)
        return 0;
    if (LONG_PTR* field = dialog_field(w, nIndex))
        return *field;
    if (w->kind == Kind::Dialog && nIndex == DWLP_DLGPROC)
        return reinterpret_cast<LONG_PTR>(w->dialogProc);
    switch (nIndex) {
    case GWLP_USERDATA:
        return w->userData;
    case GWLP_ID:
        return w->id;
    case GWL_STYLE:
        // Visibility and enabling live in their own flags; the style reports them as they are now.
        return static_cast<LONG_PTR>((w->style & ~DWORD{WS_VISIBLE | WS_DISABLED}) |
                                     (w->visible ? WS_VISIBLE : 0) | (w->enabled ? 0 : WS_DISABLED));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

WINBOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, WINBOOL) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    w->invalid = true;
    return TRUE;
}

// Paints now what is waiting to be painted; a valid window sends nothing.
WINBOOL WINAPI UpdateWindow(HWND hWnd) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    if (w->invalid && IsWindowVisible(hWnd))
        winsim::ui::paint(hWnd, false);
    return TRUE;
}

WINBOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* w = find(hWnd);
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!w) {
        *lpRect = RECT{};
        return FALSE;
    }
    *lpRect = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    return winsim::ui::create_dialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam,
                                     winsim::ui::DialogUse::Modeless);
}

WINBOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    Window* w = find(hDlg);
    if (!w || w->kind != Kind::Dialog) {
        if (w)
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    w->ended = true;
    w->endResult = nResult;
    // A modeless dialog is only hidden; a modal one closes when its procedure returns.
    w->visible = false;
    return TRUE;
}

} // extern "C"
