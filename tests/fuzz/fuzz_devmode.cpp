// libFuzzer target: whatever the stored state and the input record hold, every settled record the
// device-record service hands out is safe to use.
#include "hostile_case.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string why = hostile::Run(data, size);
    if (!why.empty()) {
        std::fprintf(stderr, "unsafe settled record: %s\n", why.c_str());
        std::abort();
    }
    return 0;
}
