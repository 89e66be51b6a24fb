/* The names of winsim's services, for a host that fails every call a piece of code makes in turn. */
#pragma once

#include <stddef.h>

#include "winsim_host.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The name of service `index` (from 0), as winsim_fail_calls and winsim_call_count take it, or NULL past the
   last service. */
WINSIM_HOST_API const char* winsim_service_name(size_t index);

#ifdef __cplusplus
}
#endif
