// The drawing a dialog does for itself: solid brushes, bitmaps and icons from the module's resources, window
// and memory device contexts, selection, fills and copies. Nothing reaches pixels; every object is counted
// while it lives so that a test can see a leak, and each copy is recorded with its rectangle.
#include "ui.h"

#include "resources.h"

#include <windows.h>
#include <winsim_host.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace winsim::ui {
namespace {

enum class Type { Brush, Bitmap, Dc, Icon };

struct Object {
    Type type;
    bool stock = false;
    COLORREF color = 0;
    LONG width = 0;
    LONG height = 0;
    WORD bitsPixel = 1;
    HWND window = nullptr;
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ brush = nullptr;
    COLORREF textColor = 0;
    COLORREF backColor = RGB(255, 255, 255);
};

std::map<HGDIOBJ, std::unique_ptr<Object>> objects;
// Shared icons (LoadIconW) live as long as their module; they are not the caller's to destroy.
std::map<std::pair<HINSTANCE, ULONG_PTR>, HGDIOBJ> sharedIcons;
std::vector<winsim_ui_blit_record> blits;

Object stockBitmap{Type::Bitmap, true, 0, 1, 1, 1};
Object stockBrushes[31];

HGDIOBJ make(Object object) {
    auto owned = std::make_unique<Object>(object);
    HGDIOBJ handle = owned.get();
    objects[handle] = std::move(owned);
    return handle;
}

Object* object_of(HGDIOBJ handle) {
    if (handle == &stockBitmap)
        return &stockBitmap;
    for (Object& stock : stockBrushes) {
        if (handle == &stock)
            return &stock;
    }
    auto it = objects.find(handle);
    return it == objects.end() ? nullptr : it->second.get();
}

Object* dc_of(HDC dc) {
    Object* o = object_of(dc);
    return o && o->type == Type::Dc ? o : nullptr;
}

} // namespace

HDC window_dc(HWND window) {
    Object dc{Type::Dc};
    dc.window = window;
    dc.bitmap = &stockBitmap;
    return static_cast<HDC>(make(dc));
}

void release_dc(HDC dc) {
    Object* o = dc_of(dc);
    if (o && o->window)
        objects.erase(dc);
}

void reset_gdi() {
    objects.clear();
    sharedIcons.clear();
    blits.clear();
}

} // namespace winsim::ui

using namespace winsim::ui;

extern "C" {

uint32_t winsim_ui_gdi_objects(void) {
    uint32_t live = 0;
    for (const auto& [handle, object] : objects)
        live += object->stock ? 0u : 1u;
    return live;
}

int winsim_ui_brush_color(void* brush, uint32_t* color) {
    Object* o = object_of(static_cast<HGDIOBJ>(brush));
    if (!o || o->type != Type::Brush)
        return 0;
    if (color)
        *color = o->color;
    return 1;
}

uint32_t winsim_ui_blit_count(void) {
    return static_cast<uint32_t>(blits.size());
}

int winsim_ui_blit(uint32_t index, winsim_ui_blit_record* out) {
    if (index >= blits.size() || !out)
        return 0;
    *out = blits[index];
    return 1;
}

DWORD WINAPI GetSysColor(int nIndex) {
    switch (nIndex) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
        return RGB(0, 0, 0);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    default:
        return RGB(240, 240, 240);
    }
}

// System colour brushes are stock objects: always there, never the caller's to delete.
HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    if (nIndex < 0 || nIndex >= 31)
        return nullptr;
    Object& brush = stockBrushes[nIndex];
    brush.type = Type::Brush;
    brush.stock = true;
    brush.color = GetSysColor(nIndex);
    return reinterpret_cast<HBRUSH>(&brush);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    Object brush{Type::Brush};
    brush.color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(make(brush));
}

// Deleting an object still selected into a device context fails, as on Windows; a stock object "deletes".
WINBOOL WINAPI DeleteObject(HGDIOBJ ho) {
    Object* o = object_of(ho);
    if (!o || o->type == Type::Dc || o->type == Type::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->stock)
        return TRUE;
    for (const auto& [handle, other] : objects) {
        if (other->type == Type::Dc && (other->bitmap == ho || other->brush == ho))
            return FALSE;
    }
    objects.erase(ho);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    Object* dc = dc_of(hdc);
    Object* o = object_of(h);
    if (!dc || !o || (o->type != Type::Bitmap && o->type != Type::Brush)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ& slot = o->type == Type::Bitmap ? dc->bitmap : dc->brush;
    if (o->type == Type::Bitmap && !o->stock) {
        // A bitmap can be selected into one memory device context at a time.
        for (const auto& [handle, other] : objects) {
            if (other.get() != dc && other->type == Type::Dc && other->bitmap == h)
                return nullptr;
        }
    }
    HGDIOBJ old = slot;
    slot = h;
    return old ? old
               : (o->type == Type::Bitmap ? static_cast<HGDIOBJ>(&stockBitmap)
                                          : GetSysColorBrush(COLOR_WINDOW));
}

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) {
    Object* o = object_of(h);
    if (!o || o->type != Type::Bitmap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!pv)
        return sizeof(BITMAP);
    if (c < static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP bm = {};
    bm.bmWidth = o->width;
    bm.bmHeight = o->height;
    bm.bmWidthBytes = ((o->width * o->bitsPixel + 15) / 16) * 2;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = o->bitsPixel;
    std::memcpy(pv, &bm, sizeof(bm));
    return sizeof(BITMAP);
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc && !dc_of(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    Object dc{Type::Dc};
    dc.bitmap = &stockBitmap;
    return static_cast<HDC>(make(dc));
}

WINBOOL WINAPI DeleteDC(HDC hdc) {
    Object* dc = dc_of(hdc);
    if (!dc || dc->window) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    objects.erase(hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window_dc(hWnd ? hWnd : reinterpret_cast<HWND>(static_cast<ULONG_PTR>(1)));
}

int WINAPI ReleaseDC(HWND, HDC hDC) {
    Object* dc = dc_of(hDC);
    if (!dc || !dc->window)
        return 0;
    release_dc(hDC);
    return 1;
}

WINBOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    Object* dst = dc_of(hdc);
    Object* src = hdcSrc ? dc_of(hdcSrc) : nullptr;
    if (!dst || (hdcSrc && !src)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    winsim_ui_blit_record record = {};
    record.x = x;
    record.y = y;
    record.width = cx;
    record.height = cy;
    record.source_x = x1;
    record.source_y = y1;
    record.rop = rop;
    record.window = dst->window;
    if (Object* bitmap = src ? object_of(src->bitmap) : nullptr) {
        record.source_width = bitmap->width;
        record.source_height = bitmap->height;
    }
    blits.push_back(record);
    return TRUE;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    Object* brush = object_of(hbr);
    if (!dc_of(hDC) || !lprc || !brush || brush->type != Type::Brush) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return 1;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    Object* dc = dc_of(hdc);
    if (!dc)
        return CLR_INVALID;
    COLORREF old = dc->backColor;
    dc->backColor = color;
    return old;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    Object* dc = dc_of(hdc);
    if (!dc)
        return CLR_INVALID;
    COLORREF old = dc->textColor;
    dc->textColor = color;
    return old;
}

// A bitmap resource is a packed DIB: its BITMAPINFOHEADER gives the size and depth.
HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
    winsim::ResourceData data;
    if (!winsim::find_resource(hInstance, RT_BITMAP, lpBitmapName, data) || data.size < 16) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto read32 = [&](size_t at) {
        LONG v;
        std::memcpy(&v, data.bytes + at, 4);
        return v;
    };
    Object bitmap{Type::Bitmap};
    bitmap.width = read32(4);
    const LONG height = read32(8);
    bitmap.height = height < 0 ? -height : height;
    WORD bits;
    std::memcpy(&bits, data.bytes + 14, 2);
    bitmap.bitsPixel = bits;
    return static_cast<HBITMAP>(make(bitmap));
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    winsim::ResourceData data;
    if (!winsim::find_resource(hInstance, RT_GROUP_ICON, lpIconName, data)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto key = std::make_pair(hInstance ? hInstance : winsim::process_image(),
                                    IS_INTRESOURCE(lpIconName) ? reinterpret_cast<ULONG_PTR>(lpIconName)
                                                               : reinterpret_cast<ULONG_PTR>(data.bytes));
    auto it = sharedIcons.find(key);
    if (it != sharedIcons.end())
        return static_cast<HICON>(it->second);
    Object icon{Type::Icon};
    icon.stock = true;
    icon.width = icon.height = 32;
    HGDIOBJ made = make(icon);
    sharedIcons[key] = made;
    return static_cast<HICON>(made);
}

HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int, int, UINT fuLoad) {
    if (fuLoad & LR_LOADFROMFILE) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (type == IMAGE_BITMAP)
        return LoadBitmapW(hInst, name);
    if (type == IMAGE_ICON) {
        HICON shared = LoadIconW(hInst, name);
        if (!shared || (fuLoad & LR_SHARED))
            return shared;
        Object icon{Type::Icon};
        icon.width = icon.height = 32;
        return make(icon);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

// A shared icon is not destroyed (Windows answers TRUE and keeps it).
WINBOOL WINAPI DestroyIcon(HICON hIcon) {
    Object* o = object_of(hIcon);
    if (!o || o->type != Type::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!o->stock)
        objects.erase(hIcon);
    return TRUE;
}

} // extern "C"
