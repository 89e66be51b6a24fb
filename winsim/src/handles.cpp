#include "handles.h"

#include "services.h"

#include <winsim_host.h>

#include <map>
#include <mutex>
#include <vector>

namespace winsim {
namespace {

struct Table {
    std::mutex mutex;
    // Starts well away from NULL and INVALID_HANDLE_VALUE, steps by 4 like Windows handle values.
    uintptr_t next = 0x1000;
    std::map<uintptr_t, std::shared_ptr<Object>> objects;
};

Table& table() {
    static Table* t = new Table;
    return *t;
}

} // namespace

HANDLE add_handle(std::shared_ptr<Object> object) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const uintptr_t value = t.next;
    t.next += 4;
    t.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<Object> find_handle(HANDLE handle, HandleKind kind) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end() || it->second->kind() != kind)
        return nullptr;
    return it->second;
}

std::shared_ptr<Object> take_handle(HANDLE handle, HandleKind kind) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end() || it->second->kind() != kind)
        return nullptr;
    std::shared_ptr<Object> object = std::move(it->second);
    t.objects.erase(it);
    return object;
}

void drop_handles(HandleKind kind) {
    std::vector<std::shared_ptr<Object>> dropped;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        for (auto it = t.objects.begin(); it != t.objects.end();) {
            if (it->second->kind() == kind) {
                dropped.push_back(std::move(it->second));
                it = t.objects.erase(it);
            } else {
                ++it;
            }
        }
    }
}

uint32_t handle_count() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return static_cast<uint32_t>(t.objects.size());
}

std::string describe_handle(HANDLE handle, HandleKind kind) {
    if (const auto object = find_handle(handle, kind))
        return object->describe();
    return describe_invalid(handle);
}

std::string describe_invalid(HANDLE handle) {
    return "handle=" + hex(reinterpret_cast<uintptr_t>(handle), 1) + " (invalid)";
}

} // namespace winsim

extern "C" uint32_t winsim_open_handles(void) {
    return winsim::handle_count();
}
