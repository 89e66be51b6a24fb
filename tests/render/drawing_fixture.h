// A physical device with its surface, on which a test calls the drawing hooks itself and reads back what
// the stand-in engine was asked to draw.
#pragma once

#include "drawing.h"
#include "render_fixture.h"

#include <functional>
#include <vector>

// The three kinds of band surface.
enum class SurfaceKind { Mono = 0, Grey = 1, Color = 3 };

class DrawingTest : public RenderTest {
  protected:
    // A 20 x 10 mm label on the surface of `kind`, with the settings `tweak` changes.
    PDEV* Open(SurfaceKind kind, const std::function<void(DRVDEVMODE*)>& tweak = nullptr) {
        auto rec = JobSettings();
        rec->Private.PaperId = kUserDefinedLabelId;
        rec->Private.CustomWidth = 200;
        rec->Private.CustomLength = 100;
        rec->Private.SurfaceToPrint = static_cast<LONG>(kind);
        if (tweak) {
            tweak(rec.get());
        }
        SyncPublicDevMode(rec.get());
        PDEV* pdev = EnableWithSurface(rec.get());
        if (pdev) {
            page_ = {};
            page_.dhpdev = reinterpret_cast<DHPDEV>(pdev);
            page_.hsurf = pdev->DeviceSurface;
            page_.iType = STYPE_DEVICE;
            page_.sizlBitmap = pdev->BandSurface->sizlBitmap;
            page_.iBitmapFormat = pdev->BandSurface->iBitmapFormat;
        }
        winsim_draw_clear();
        return pdev;
    }
    // The device surface's SURFOBJ, as the engine hands it to the hooks.
    SURFOBJ* Page() { return &page_; }
    SURFOBJ* Band() { return pdev_->BandSurface; }
    // The same surface of a device the driver does not know.
    SURFOBJ* Foreign() {
        foreign_ = page_;
        foreign_.dhpdev = nullptr;
        return &foreign_;
    }

    static std::vector<winsim_draw_call> Calls() {
        std::vector<winsim_draw_call> calls(winsim_draw_count());
        for (size_t i = 0; i < calls.size(); ++i) {
            winsim_draw_get(i, &calls[i]);
        }
        return calls;
    }
    static winsim_draw_call Last() {
        winsim_draw_call call = {};
        const size_t n = winsim_draw_count();
        EXPECT_GT(n, 0u) << "nothing reached the engine";
        if (n) {
            winsim_draw_get(n - 1, &call);
        }
        return call;
    }
    std::vector<BYTE> BandBytes() {
        const SURFOBJ* so = Band();
        const BYTE* bits = static_cast<const BYTE*>(so->pvScan0);
        return {bits, bits + static_cast<size_t>(so->lDelta) * so->sizlBitmap.cy};
    }
    void FillBand(BYTE value) {
        SURFOBJ* so = Band();
        std::memset(so->pvScan0, value, static_cast<size_t>(so->lDelta) * so->sizlBitmap.cy);
    }

    SURFOBJ page_ = {};
    SURFOBJ foreign_ = {};
};

// A brush whose realisation carries a grey level, as the driver's own realisation leaves it.
struct GreyBrush {
    explicit GreyBrush(ULONG grey, ULONG solid = 0xFFFFFFFF) : record{RB_DITHERCOLOR | 0x123456, grey, 1} {
        brush.iSolidColor = solid;
        brush.pvRbrush = &record;
    }
    REALIZEDBRUSH record;
    BRUSHOBJ brush = {};
};

// Engine objects of a test, deleted with it.
struct EngineClip {
    EngineClip(uint32_t complexity, std::vector<int32_t> rects)
        : clip(static_cast<CLIPOBJ*>(
              winsim_clip_create(complexity, rects.data(), static_cast<uint32_t>(rects.size() / 4)))) {}
    ~EngineClip() { winsim_clip_delete(clip); }
    CLIPOBJ* clip;
};

struct EngineXlate {
    EngineXlate(uint32_t mode, std::vector<uint32_t> colors, void* dest = nullptr)
        : xlate(static_cast<XLATEOBJ*>(
              winsim_xlate_create(mode, colors.data(), static_cast<uint32_t>(colors.size()), dest))) {}
    ~EngineXlate() { winsim_xlate_delete(xlate); }
    XLATEOBJ* xlate;
};

struct EngineBitmap {
    EngineBitmap(int32_t width, int32_t height, uint32_t format, std::vector<uint32_t> colors = {})
        : so(static_cast<SURFOBJ*>(winsim_bitmap_create(width, height, format, nullptr, 0, colors.data(),
                                                        static_cast<uint32_t>(colors.size())))) {}
    ~EngineBitmap() { winsim_bitmap_delete(so); }
    SURFOBJ* so;
};
