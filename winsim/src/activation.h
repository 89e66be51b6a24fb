// The activation context active on the calling thread, for the calls whose outcome depends on it.
#pragma once

#include <windows.h>

namespace winsim {

HANDLE active_context(); // null when none is active
void reset_activation();

} // namespace winsim
