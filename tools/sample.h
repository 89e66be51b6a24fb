// The sample job: an application printing a few labels through the rendering library of this build's
// model profile, loaded by path and driven by the stand-in graphics engine, then read back by the
// virtual printer into previews.
#pragma once

#include <cstdint>
#include <string>

// What one label shows; the serial number changes from label to label.
struct LabelContent {
    std::string Serial;
    int Number; // from 1
    int Count;
};

// The page of one label, drawn in pixels of a page `dpi` dots per inch. Returns false when the engine
// refused a drawing call; `why` names it.
bool DrawLabel(void* device, int dpi, bool twoHeads, const std::string& fontFile, const LabelContent& label,
               std::string& why);

// The --settings mode: the default settings record of every variant of the profile.
int PrintDefaultSettings();
