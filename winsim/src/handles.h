// The handle table: every printer, file and mutex handle the simulated Windows gives out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace winsim {

enum class HandleKind { Printer, File, Mutex };

// What a handle refers to. The object lives as long as a handle (or a call in progress) holds it.
class Object {
  public:
    virtual ~Object() = default;
    virtual HandleKind kind() const = 0;
    // How the call log names the object, e.g. "printer=Label 1" or "file=C:\a.csv".
    virtual std::string describe() const = 0;
};

// Gives out a new handle for `object`. Handle values are never reused within a process, so a stale handle is
// reported as invalid instead of reaching an unrelated object.
HANDLE add_handle(std::shared_ptr<Object> object);

// The object behind `handle` when it is of `kind`, else null.
std::shared_ptr<Object> find_handle(HANDLE handle, HandleKind kind);

template <class T> std::shared_ptr<T> find(HANDLE handle) {
    return std::static_pointer_cast<T>(find_handle(handle, T::kKind));
}

// Removes `handle` when it is of `kind` and returns its object (null when it is not such a handle). The
// caller lets the object go after the table is unlocked, so closing host resources never happens under the
// lock.
std::shared_ptr<Object> take_handle(HANDLE handle, HandleKind kind);

// Closes every handle of `kind`.
void drop_handles(HandleKind kind);

uint32_t handle_count();

// The log text for a handle argument: the object's description, or "handle=0x... (invalid)".
std::string describe_handle(HANDLE handle, HandleKind kind);
std::string describe_invalid(HANDLE handle);

} // namespace winsim
