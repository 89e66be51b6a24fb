// DrvTextOut: the printer has no fonts of its own, so the engine draws every glyph into the band
// surface. On the grey surface text keeps its grey (no line-art rule: glyphs are not hairlines).
#include "drawing.h"

extern "C" {

BOOL APIENTRY DrvTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                         RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                         MIX mix) {
    const DrawTarget t = FindDrawTarget(pso);
    if (!t.Pdev) {
        return EngTextOut(pso, pstro, pfo, pco, prclExtra, prclOpaque, pboFore, pboOpaque, pptlOrg, mix);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    BRUSHOBJ* fore = pboFore;
    BRUSHOBJ* opaque = pboOpaque;
    POINTL* origin = pptlOrg;
    BRUSHOBJ foreCopy;
    BRUSHOBJ opaqueCopy;
    POINTL originCopy;
    if (!IsMono(t.Pdev)) {
        origin = BandRelative(t.Pdev, pptlOrg, &originCopy);
    }
    if (IsGrey(t.Pdev)) {
        fore = GreySubstitute(t.Pdev, pboFore, false, &foreCopy);
        // The opaque brush paints only an opaque rectangle; without one it is not the engine's concern.
        if (prclOpaque) {
            opaque = GreySubstitute(t.Pdev, pboOpaque, false, &opaqueCopy);
        }
    }
    return EngTextOut(t.Band, pstro, pfo, pco, prclExtra, prclOpaque, fore, opaque, origin, mix);
}

} // extern "C"
