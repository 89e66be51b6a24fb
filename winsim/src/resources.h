// The resources of the modules the host has given a compiled resource file (winsim_ui_set_resources).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace winsim {

// The process image's module handle, as GetModuleHandleW(NULL) answers it.
HMODULE process_image();

struct ResourceData {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

// The data of the resource of that type and name (integer ids or strings, case-insensitive), in the module's
// resource file; nothing when the module has none or lacks it. The data lives until winsim_reset or until
// the module's resources are replaced.
bool find_resource(HMODULE module, LPCWSTR type, LPCWSTR name, ResourceData& out);

void reset_resources();

} // namespace winsim
