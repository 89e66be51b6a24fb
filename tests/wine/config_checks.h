// Checks of the configuration library that both the native build and the Windows builds under Wine run,
// each line "what: answer", so that the two runs can be compared line by line. Under Wine an application's
// calls go through Wine's own winspool (DocumentPropertiesW, DeviceCapabilitiesW/A), which loads the real
// ktcfg.dll; natively the same calls reach the library the way winspool hands them on.
//
// A new check is a few lines in config_checks.cpp: call, then Line("name", answer).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace configchecks {

// What an application reaches through winspool, and the library's own exports for direct calls.
class Api {
  public:
    virtual ~Api() = default;
    virtual LONG Properties(HANDLE printer, LPWSTR name, DEVMODEW* out, DEVMODEW* in, DWORD mode) = 0;
    virtual DWORD CapabilitiesW(LPCWSTR name, WORD capability, LPWSTR output, const DEVMODEW* in) = 0;
    // The ANSI form: names in the ANSI code page (932 on a Japanese Windows).
    virtual DWORD CapabilitiesA(LPCWSTR name, WORD capability, LPSTR output) = 0;
    virtual void* Export(const char* name) = 0;
};

// Runs every check on the named printer (installed with the profile's first variant), its stored state
// reset first to the same defaults on both sides. Returns the answer lines.
std::vector<std::string> Run(Api& api, LPCWSTR printer);

} // namespace configchecks
