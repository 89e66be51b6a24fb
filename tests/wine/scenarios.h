// Print jobs that both the native suite (through winsim's engine front) and the Wine suite (through the
// real ktrender.dll and a host engine) print, so that their printer streams can be compared byte for
// byte: equal bytes prove the Windows builds' calling conventions and record sizes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devmode.h"

namespace scenarios {

// The page bitmap a job draws into between a page's start and its end.
struct PageBits {
    void* Bits;
    int32_t Stride;
    int32_t Width;
    int32_t Height;
    uint32_t BitsPerPixel;
};

// What runs a job: the graphics engine's side of it, native or under Wine.
class Engine {
  public:
    virtual ~Engine() = default;
    virtual bool Open(const DRVDEVMODE* settings) = 0;
    virtual bool StartDoc(const char* name) = 0;
    virtual bool StartPage(PageBits* page) = 0;
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    virtual void Close() = 0;
    // The bytes the printer received for the last document.
    virtual std::vector<uint8_t> Stream() = 0;
};

struct Scenario {
    const char* Name;
    int Pages;
    void (*Settings)(DRVDEVMODE* rec);
    void (*Paint)(int page, const PageBits& bits);
};

// The scenarios of this build's profile.
const std::vector<Scenario>& All();

// The driver name a printer of the scenarios is installed with: the profile's first real variant.
const char* DriverName();

// The settings of a scenario: the defaults of the driver's variant with the scenario's changes.
std::unique_ptr<DRVDEVMODE> SettingsOf(const Scenario& s);

// Runs one scenario; false when the engine refused a step.
bool Run(Engine& engine, const Scenario& s, std::vector<uint8_t>* stream);

} // namespace scenarios
