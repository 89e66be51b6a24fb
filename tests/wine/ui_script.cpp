#include "ui_script.h"

#include <prsht.h>

#include <cstdio>

#include "png_file.h"
#include "wine_spooler.h"

namespace ui {

namespace {

constexpr UINT kTickMs = 50;
constexpr int kMaxWaitTicks = 200; // 10 seconds for one step

struct RUNNING {
    const std::vector<Step>* Steps = nullptr;
    size_t Next = 0;
    int Waited = 0;
    bool Busy = false;
    bool Aborted = false;
    std::vector<std::string> Failures;
};

RUNNING* g_running = nullptr;

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
    if (IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, TEXT("#32770")) == 0;
}

// What a failed script leaves open is closed the way its user would close it: common dialogs and
// message boxes with Cancel, the property sheet with its Cancel button.
void CloseEverything() {
    HWND sheet = FindPropertySheet();
    for (HWND window : ThreadWindows()) {
        if (window != sheet && IsDialog(window)) {
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        }
    }
    if (sheet) {
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    RUNNING* r = g_running;
    // A step may run a modal loop of its own, which ticks again.
    if (!r || r->Busy) {
        return;
    }
    r->Busy = true;
    if (r->Aborted || r->Next >= r->Steps->size()) {
        if (r->Aborted) {
            CloseEverything();
        }
    } else {
        const Step& step = (*r->Steps)[r->Next];
        if (step.Run()) {
            ++r->Next;
            r->Waited = 0;
        } else if (++r->Waited > kMaxWaitTicks) {
            r->Failures.push_back("timed out: " + step.Name);
            r->Aborted = true;
        }
    }
    r->Busy = false;
}

} // namespace

std::vector<std::string> RunScript(const std::vector<Step>& steps, const std::function<void()>& open) {
    RUNNING running;
    running.Steps = &steps;
    g_running = &running;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
    open();
    KillTimer(nullptr, timer);
    g_running = nullptr;
    for (size_t i = running.Next; i < steps.size() && !running.Aborted; ++i) {
        running.Failures.push_back("not reached: " + steps[i].Name);
    }
    return running.Failures;
}

bool Check(bool ok, const std::string& what) {
    if (!ok) {
        if (g_running) {
            g_running->Failures.push_back(what);
        } else {
            std::fprintf(stderr, "%s\n", what.c_str());
        }
    }
    return ok;
}

HWND FindPropertySheet() {
    for (HWND window : ThreadWindows()) {
        if (IsDialog(window) && SendMessageW(window, PSM_GETTABCONTROL, 0, 0)) {
            return window;
        }
    }
    return nullptr;
}

HWND FindDialogWith(int controlId) {
    HWND sheet = FindPropertySheet();
    for (HWND window : ThreadWindows()) {
        if (window != sheet && IsDialog(window) && GetDlgItem(window, controlId)) {
            return window;
        }
    }
    return nullptr;
}

bool Capture(HWND window, const std::wstring& path) {
    SetWindowPos(window, HWND_TOP, 8, 8, 0, 0, SWP_NOSIZE);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT box = {};
    GetWindowRect(window, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP picture = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory && picture) {
        HGDIOBJ previous = SelectObject(memory, picture);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, previous);
    }
    std::vector<uint8_t> rgb;
    if (copied) {
        const size_t stride = (size_t(width) * 3 + 3) & ~size_t{3};
        const auto* row = static_cast<const uint8_t*>(bits);
        rgb.reserve(size_t(width) * 3 * height);
        for (int y = 0; y < height; ++y, row += stride) {
            for (int x = 0; x < width; ++x) {
                rgb.push_back(row[x * 3 + 2]);
                rgb.push_back(row[x * 3 + 1]);
                rgb.push_back(row[x * 3]);
            }
        }
    }
    if (picture) {
        DeleteObject(picture);
    }
    if (memory) {
        DeleteDC(memory);
    }
    ReleaseDC(window, source);
    return copied && png::WriteFile(wine::Narrow(path), static_cast<uint32_t>(width),
                                    static_cast<uint32_t>(height), rgb);
}

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

void Type(HWND edit, const wchar_t* text) {
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

} // namespace ui
