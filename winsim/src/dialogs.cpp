// What a user answers: modal dialogs run the host's script for them, message boxes and the common choosers
// take the host's queued answers and record how they were asked, the keyboard's state is the host's, and
// broadcasts are recorded. With nothing queued a user cancels: Esc on a modal dialog, the default button of a
// message box, Cancel on a chooser.
#include "ui.h"

#include "reset.h"
#include "text.h"

#include <commdlg.h>
#include <windows.h>
#include <winsim_host.h>

#include <cstring>
#include <deque>
#include <set>
#include <string>
#include <vector>

namespace winsim::ui {
namespace {

struct ModalScript {
    winsim_ui_script script;
    void* context;
};
std::deque<ModalScript> modalScripts;

struct MessageRecord {
    std::string text;
    std::string caption;
    UINT type;
};
std::vector<MessageRecord> messages;
std::deque<int> answers;

struct FileAnswer {
    bool accept;
    std::u16string path;
};
std::deque<FileAnswer> fileAnswers;
struct FileRequest {
    bool save;
    DWORD flags;
    std::string filter;
    std::string title;
};
std::vector<FileRequest> fileRequests;
DWORD chooserError = 0;

struct ColorAnswer {
    bool accept;
    COLORREF color;
};
std::deque<ColorAnswer> colorAnswers;
struct ColorRequest {
    COLORREF initial;
    DWORD flags;
    const COLORREF* custom;
};
std::vector<ColorRequest> colorRequests;

std::set<int> keysDown;

struct Broadcast {
    UINT message;
    WPARAM wParam;
    std::string text;
};
std::vector<Broadcast> broadcasts;

int default_answer(UINT type) {
    static const int kButtons[][3] = {
        {IDOK, 0, 0},     {IDOK, IDCANCEL, 0},    {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO, 0}, {IDRETRY, IDCANCEL, 0},
    };
    const UINT kind = type & MB_TYPEMASK;
    if (kind >= sizeof(kButtons) / sizeof(kButtons[0]))
        return IDOK;
    const UINT which = (type >> 8) & 3;
    const int answer = kButtons[kind][which];
    return answer ? answer : kButtons[kind][0];
}

// The multi-string filter ("name\0pattern\0...\0\0") as "name|pattern|...".
std::string filter_text(LPCWSTR filter) {
    std::string out;
    if (!filter)
        return out;
    for (const WCHAR* p = filter; *p; p += winsim::view(p).size() + 1) {
        if (!out.empty())
            out += '|';
        out += winsim::to_utf8(winsim::view(p));
    }
    return out;
}

BOOL answer_file(LPOPENFILENAMEW ofn, bool save) {
    chooserError = 0;
    if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEW)) {
        chooserError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    fileRequests.push_back(
        {save, ofn->Flags, filter_text(ofn->lpstrFilter),
         ofn->lpstrTitle ? winsim::to_utf8(winsim::view(ofn->lpstrTitle)) : std::string()});
    if (fileAnswers.empty())
        return FALSE;
    FileAnswer answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (!answer.accept)
        return FALSE;
    if (!ofn->lpstrFile || ofn->nMaxFile <= answer.path.size()) {
        // The first WORD of a buffer that is too small says how many characters the name needs.
        if (ofn->lpstrFile && ofn->nMaxFile >= 1)
            reinterpret_cast<WORD*>(ofn->lpstrFile)[0] = static_cast<WORD>(answer.path.size() + 1);
        chooserError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, answer.path.data(), answer.path.size() * sizeof(WCHAR));
    ofn->lpstrFile[answer.path.size()] = 0;
    const size_t slash = answer.path.find_last_of(u"\\/");
    const size_t name = slash == std::u16string::npos ? 0 : slash + 1;
    const size_t dot = answer.path.find_last_of(u'.');
    ofn->nFileOffset = static_cast<WORD>(name);
    ofn->nFileExtension =
        static_cast<WORD>(dot == std::u16string::npos || dot < name ? answer.path.size() : dot + 1);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > answer.path.size() - name) {
        std::memcpy(ofn->lpstrFileTitle, answer.path.data() + name,
                    (answer.path.size() - name) * sizeof(WCHAR));
        ofn->lpstrFileTitle[answer.path.size() - name] = 0;
    }
    return TRUE;
}

} // namespace

void reset_dialogs() {
    modalScripts.clear();
    messages.clear();
    answers.clear();
    fileAnswers.clear();
    fileRequests.clear();
    colorAnswers.clear();
    colorRequests.clear();
    keysDown.clear();
    broadcasts.clear();
    chooserError = 0;
}

} // namespace winsim::ui

using namespace winsim::ui;

extern "C" {

void winsim_ui_on_modal(winsim_ui_script script, void* context) {
    modalScripts.push_back({script, context});
}

void winsim_ui_queue_answer(int answer) {
    answers.push_back(answer);
}

uint32_t winsim_ui_message_count(void) {
    return static_cast<uint32_t>(messages.size());
}

int winsim_ui_message(uint32_t index, char* text, size_t text_size, char* caption, size_t caption_size,
                      uint32_t* type) {
    if (index >= messages.size())
        return 0;
    winsim::copy_out(messages[index].text, text, text_size);
    winsim::copy_out(messages[index].caption, caption, caption_size);
    if (type)
        *type = messages[index].type;
    return 1;
}

void winsim_ui_queue_file(const char* path) {
    fileAnswers.push_back({path != nullptr, path ? winsim::from_utf8(path) : std::u16string()});
}

uint32_t winsim_ui_file_requests(void) {
    return static_cast<uint32_t>(fileRequests.size());
}

int winsim_ui_file_request(uint32_t index, int* save, uint32_t* flags, char* filter, size_t filter_size) {
    if (index >= fileRequests.size())
        return 0;
    if (save)
        *save = fileRequests[index].save;
    if (flags)
        *flags = fileRequests[index].flags;
    winsim::copy_out(fileRequests[index].filter, filter, filter_size);
    return 1;
}

void winsim_ui_queue_color(int accept, uint32_t color) {
    colorAnswers.push_back({accept != 0, color});
}

uint32_t winsim_ui_color_requests(void) {
    return static_cast<uint32_t>(colorRequests.size());
}

int winsim_ui_color_request(uint32_t index, uint32_t* initial, uint32_t* flags, const void** custom_colors) {
    if (index >= colorRequests.size())
        return 0;
    if (initial)
        *initial = colorRequests[index].initial;
    if (flags)
        *flags = colorRequests[index].flags;
    if (custom_colors)
        *custom_colors = colorRequests[index].custom;
    return 1;
}

void winsim_ui_set_key(int virtual_key, int down) {
    if (down)
        keysDown.insert(virtual_key);
    else
        keysDown.erase(virtual_key);
}

uint32_t winsim_ui_broadcast_count(void) {
    return static_cast<uint32_t>(broadcasts.size());
}

int winsim_ui_broadcast(uint32_t index, uint32_t* message, char* text, size_t text_size) {
    if (index >= broadcasts.size())
        return 0;
    if (message)
        *message = broadcasts[index].message;
    winsim::copy_out(broadcasts[index].text, text, text_size);
    return 1;
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (hWndParent && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // A modal dialog is owned by the top-level window of the one it was given (a page's sheet, say).
    for (Window* w = find(hWndParent, false); w && (w->style & WS_CHILD) && find(w->parent, false);
         w = find(w->parent, false))
        hWndParent = w->parent;
    const HWND dialog =
        create_dialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, DialogUse::Modal);
    if (!dialog)
        return -1;
    // The owner takes no input while its modal dialog is up.
    const bool ownerWasEnabled = hWndParent && IsWindowEnabled(hWndParent);
    if (ownerWasEnabled)
        EnableWindow(hWndParent, FALSE);
    Window* w = find(dialog, false);
    if (w && !w->ended) {
        w->visible = true;
        pump();
        if (!modalScripts.empty()) {
            ModalScript script = modalScripts.front();
            modalScripts.pop_front();
            script.script(dialog, script.context);
            pump();
        }
        w = find(dialog, false);
        if (w && !w->ended) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            pump();
        }
    }
    w = find(dialog, false);
    // A dialog that would not close even on Esc is closed for it, answering as if cancelled.
    const INT_PTR result = w ? (w->ended ? w->endResult : IDCANCEL) : IDCANCEL;
    if (ownerWasEnabled && IsWindow(hWndParent))
        EnableWindow(hWndParent, TRUE);
    if (w)
        DestroyWindow(dialog);
    return result;
}

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    if (hWnd && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    messages.push_back({lpText ? winsim::to_utf8(winsim::view(lpText)) : std::string(),
                        lpCaption ? winsim::to_utf8(winsim::view(lpCaption)) : std::string("Error"), uType});
    if (answers.empty())
        return default_answer(uType);
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

WINBOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW ofn) {
    return answer_file(ofn, false);
}

WINBOOL WINAPI GetSaveFileNameW(LPOPENFILENAMEW ofn) {
    return answer_file(ofn, true);
}

WINBOOL WINAPI ChooseColorW(LPCHOOSECOLORW cc) {
    chooserError = 0;
    if (!cc || cc->lStructSize != sizeof(CHOOSECOLORW)) {
        chooserError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    colorRequests.push_back({cc->rgbResult, cc->Flags, cc->lpCustColors});
    if (colorAnswers.empty())
        return FALSE;
    ColorAnswer answer = colorAnswers.front();
    colorAnswers.pop_front();
    if (!answer.accept)
        return FALSE;
    cc->rgbResult = answer.color;
    return TRUE;
}

DWORD WINAPI CommDlgExtendedError(VOID) {
    return chooserError;
}

// The high bit says the key is down.
SHORT WINAPI GetKeyState(int nVirtKey) {
    return keysDown.count(nVirtKey) ? static_cast<SHORT>(0x8000) : 0;
}

// A broadcast reaches every top-level window of the session; here it is recorded, with its text for the
// messages that carry one (WM_DEVMODECHANGE, WM_SETTINGCHANGE). To one window it is a plain send.
LRESULT WINAPI SendMessageTimeoutW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT, UINT,
                                   PDWORD_PTR lpdwResult) {
    if (lpdwResult)
        *lpdwResult = 0;
    if (hWnd == HWND_BROADCAST) {
        std::string text;
        if ((Msg == WM_DEVMODECHANGE || Msg == 0x001A) && lParam)
            text = winsim::to_utf8(winsim::view(reinterpret_cast<LPCWSTR>(lParam)));
        broadcasts.push_back({Msg, wParam, text});
        return 1;
    }
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const LRESULT result = SendMessageW(hWnd, Msg, wParam, lParam);
    if (lpdwResult)
        *lpdwResult = static_cast<DWORD_PTR>(result);
    return 1;
}

} // extern "C"
