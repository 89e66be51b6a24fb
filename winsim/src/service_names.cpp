// The service names for the host, from the one service table.
#include "services.h"

#include <winsim_services.h>

#include <iterator>

namespace {

constexpr const char* kNames[] = {
#define WINSIM_SERVICE_NAME(name, error) #name,
    WINSIM_SERVICES(WINSIM_SERVICE_NAME)
#undef WINSIM_SERVICE_NAME
};

} // namespace

extern "C" const char* winsim_service_name(size_t index) {
    return index < std::size(kNames) ? kNames[index] : nullptr;
}
