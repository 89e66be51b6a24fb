#include "services.h"

#include "reset.h"

#include "text.h"

#include <winsim_host.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

namespace winsim {
namespace {

struct ServiceInfo {
    const char* name;
    DWORD fault_error;
};

constexpr ServiceInfo kServices[] = {
#define WINSIM_SERVICE_INFO(name, error) {#name, static_cast<DWORD>(error)},
    WINSIM_SERVICES(WINSIM_SERVICE_INFO)
#undef WINSIM_SERVICE_INFO
};
constexpr size_t kServiceCount = static_cast<size_t>(Service::Count);
static_assert(std::size(kServices) == kServiceCount);

constexpr size_t kMaxLogLines = 100000;

struct FaultPlan {
    uint32_t skip = 0;
    uint32_t count = 0;
    DWORD error = 0;
};

struct State {
    std::mutex mutex;
    std::array<uint32_t, kServiceCount> calls{};
    std::array<FaultPlan, kServiceCount> faults{};
    std::vector<std::string> log;
};

// Never destroyed: driver libraries may still call services from their own static destructors.
State& state() {
    static State* s = new State;
    return *s;
}

int find_service(const char* name) {
    if (!name)
        return -1;
    for (size_t i = 0; i < kServiceCount; ++i) {
        if (std::strcmp(kServices[i].name, name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

// Counts the call and consumes one step of its fault plan; the caller holds the state mutex.
DWORD count_and_check(State& s, Service service) {
    const size_t i = static_cast<size_t>(service);
    ++s.calls[i];
    FaultPlan& plan = s.faults[i];
    if (plan.skip > 0) {
        --plan.skip;
        return 0;
    }
    if (plan.count == 0)
        return 0;
    --plan.count;
    return plan.error ? plan.error : kServices[i].fault_error;
}

} // namespace

DWORD enter(Service service) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return count_and_check(s, service);
}

DWORD enter(Service service, std::string line) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DWORD fault = count_and_check(s, service);
    if (s.log.size() < kMaxLogLines) {
        if (fault)
            line += " [injected failure]";
        s.log.push_back(std::move(line));
    }
    return fault;
}

void reset_services() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.calls.fill(0);
    s.faults.fill(FaultPlan{});
    s.log.clear();
}

std::string hex(uint64_t value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string utf8(LPCWSTR text) {
    return text ? to_utf8(text) : std::string("(null)");
}

} // namespace winsim

using namespace winsim;

extern "C" {

int winsim_fail_calls_with(const char* service, uint32_t skip, uint32_t count, uint32_t error) {
    const int i = find_service(service);
    if (i < 0)
        return 0;
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.faults[i] = FaultPlan{skip, count, error};
    return 1;
}

int winsim_fail_calls(const char* service, uint32_t skip, uint32_t count) {
    return winsim_fail_calls_with(service, skip, count, 0);
}

int winsim_fail_next(const char* service, uint32_t count) {
    return winsim_fail_calls_with(service, 0, count, 0);
}

void winsim_clear_faults(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.faults.fill(FaultPlan{});
}

uint32_t winsim_call_count(const char* service) {
    const int i = find_service(service);
    if (i < 0)
        return 0;
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.calls[i];
}

size_t winsim_log_size(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.log.size();
}

int winsim_log_line(size_t index, char* buf, size_t size) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (index >= s.log.size())
        return -1;
    const std::string& line = s.log[index];
    if (buf && size > 0) {
        const size_t n = std::min(line.size(), size - 1);
        std::memcpy(buf, line.data(), n);
        buf[n] = '\0';
    }
    return static_cast<int>(line.size());
}

void winsim_log_clear(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.log.clear();
}

} // extern "C"
