// Mutexes: CreateMutexW, WaitForSingleObject, ReleaseMutex.
//
// A Windows mutex is owned by a thread, may be taken again by its owner (each wait needs a release), and when
// named is shared by every process of the session. Here each process keeps one record per mutex for its own
// threads (owner, recursion count, a condition variable for waiters), and a named mutex is backed by a lock
// file under "<root>/.objects/<namespace>/" for the processes:
//   byte 0: held exclusively by the process whose thread owns the mutex; the byte's content is 1 while owned,
//           so that the next owner can tell that the previous one died without releasing (WAIT_ABANDONED);
//   byte 1: held shared by every process that has the mutex open, which is how CreateMutexW knows that the
//           mutex already exists (ERROR_ALREADY_EXISTS);
//   byte 2: guards the check-then-claim steps of opening.
// A process waiting for another process's owner polls every millisecond, so that timeouts hold.
#include "handles.h"
#include "locks.h"
#include "paths.h"
#include "services.h"
#include "text.h"

#include <windows.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

using namespace winsim;
using Clock = std::chrono::steady_clock;

enum LockByte : off_t { kOwner = 0, kOpen = 1, kGuard = 2 };

class MutexState {
  public:
    MutexState(std::string name, int fd) : name(std::move(name)), fd(fd) {}
    ~MutexState() {
        // Closing drops the process's locks. If a thread still owned the mutex, byte 0 stays 1 and the next
        // owner is told the mutex was abandoned.
        if (fd >= 0)
            close(fd);
    }
    MutexState(const MutexState&) = delete;
    MutexState& operator=(const MutexState&) = delete;

    const std::string name;
    const int fd; // -1 for an unnamed mutex, which no other process can reach
    std::mutex mutex;
    std::condition_variable released;
    DWORD owner = 0;
    DWORD recursion = 0;
    bool acquiring = false; // a thread of this process is competing with other processes
};

class MutexHandle final : public Object {
  public:
    static constexpr HandleKind kKind = HandleKind::Mutex;

    explicit MutexHandle(std::shared_ptr<MutexState> state) : state(std::move(state)) {}
    HandleKind kind() const override { return kKind; }
    std::string describe() const override { return "mutex=" + state->name; }

    const std::shared_ptr<MutexState> state;
};

// The named mutexes this process has open, so that a second handle reaches the same record.
struct Registry {
    std::mutex mutex;
    pid_t pid = 0;
    std::map<std::string, std::weak_ptr<MutexState>> open;
};

Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

void write_owned_flag(int fd, bool owned) {
    const char flag = owned ? 1 : 0;
    [[maybe_unused]] const ssize_t n = pwrite(fd, &flag, 1, 0);
}

bool read_owned_flag(int fd) {
    char flag = 0;
    return pread(fd, &flag, 1, 0) == 1 && flag == 1;
}

// Takes ownership for the calling thread; WAIT_OBJECT_0, WAIT_ABANDONED or WAIT_TIMEOUT.
DWORD acquire(MutexState& m, DWORD timeout_ms) {
    const DWORD me = GetCurrentThreadId();
    const bool forever = timeout_ms == INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeout_ms);
    std::unique_lock lock(m.mutex);
    if (m.owner == me) {
        ++m.recursion;
        return WAIT_OBJECT_0;
    }
    const auto free_here = [&m] { return m.owner == 0 && !m.acquiring; };
    if (forever)
        m.released.wait(lock, free_here);
    else if (!m.released.wait_until(lock, deadline, free_here))
        return WAIT_TIMEOUT;
    bool abandoned = false;
    if (m.fd >= 0) {
        m.acquiring = true;
        lock.unlock();
        bool got = locks::try_lock(m.fd, kOwner, true);
        while (!got && (forever || Clock::now() < deadline)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            got = locks::try_lock(m.fd, kOwner, true);
        }
        if (got) {
            abandoned = read_owned_flag(m.fd);
            write_owned_flag(m.fd, true);
        }
        lock.lock();
        m.acquiring = false;
        if (!got) {
            m.released.notify_one();
            return WAIT_TIMEOUT;
        }
    }
    m.owner = me;
    m.recursion = 1;
    return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

bool release(MutexState& m) {
    std::lock_guard lock(m.mutex);
    if (m.owner != GetCurrentThreadId())
        return false;
    if (--m.recursion > 0)
        return true;
    if (m.fd >= 0) {
        write_owned_flag(m.fd, false);
        locks::unlock(m.fd, kOwner);
    }
    m.owner = 0;
    m.released.notify_one();
    return true;
}

// A file name for a mutex name: names are case-sensitive and may hold any character, so everything but a few
// safe ASCII characters is percent-encoded.
std::string file_name_for(const std::string& name) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
            c == '_' || c == '-') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

struct Opened {
    std::shared_ptr<MutexState> state;
    bool existed = false;
    DWORD error = ERROR_SUCCESS;
};

// Opens the named mutex `name`, making it when no process has it open; `own` then gives the new
// mutex to the calling thread before any other process can see it.
Opened open_named(std::u16string_view name, bool own) {
    // "Local\" and plain names are the session namespace, "Global\" the machine's; a backslash is allowed
    // nowhere else in a name.
    const char* name_space = "local";
    if (name.starts_with(u"Global\\")) {
        name_space = "global";
        name.remove_prefix(7);
    } else if (name.starts_with(u"Local\\")) {
        name.remove_prefix(6);
    }
    if (name.find(u'\\') != std::u16string_view::npos)
        return {nullptr, false, ERROR_BAD_PATHNAME};
    if (name.size() > MAX_PATH)
        return {nullptr, false, ERROR_FILENAME_EXCED_RANGE};
    const std::string display = to_utf8(name);
    const std::string path = objects_dir(name_space) + "/" + file_name_for(display);

    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    // A forked child inherits its parent's records, but their lock file descriptions are the parent's; the
    // child opens the mutexes afresh.
    if (r.pid != getpid()) {
        r.open.clear();
        r.pid = getpid();
    }
    if (const auto known = r.open[path].lock())
        return {known, true, ERROR_SUCCESS};

    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_CREAT, 0600);
    if (fd < 0)
        return {nullptr, false,
                static_cast<DWORD>(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED)};
    auto state = std::make_shared<MutexState>(display, fd);
    bool existed;
    {
        locks::Guard guard(fd, kGuard);
        existed = locks::held_by_others(fd, kOpen);
        locks::try_lock(fd, kOpen, false);
        if (!existed) {
            // A new mutex, even if an old lock file is still there.
            write_owned_flag(fd, false);
            if (own && locks::try_lock(fd, kOwner, true)) {
                write_owned_flag(fd, true);
                state->owner = GetCurrentThreadId();
                state->recursion = 1;
            }
        }
    }
    r.open[path] = state;
    return {state, existed, ERROR_SUCCESS};
}

HANDLE fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

} // namespace

extern "C" {

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, WINBOOL bInitialOwner, LPCWSTR lpName) {
    if (const DWORD fault = enter(Service::CreateMutexW, "CreateMutexW name=" + utf8(lpName) +
                                                             " initial_owner=" + (bInitialOwner ? "1" : "0")))
        return fail(fault);
    if (!lpName || !*lpName) {
        auto state = std::make_shared<MutexState>("(unnamed)", -1);
        if (bInitialOwner) {
            state->owner = GetCurrentThreadId();
            state->recursion = 1;
        }
        const HANDLE handle = add_handle(std::make_shared<MutexHandle>(std::move(state)));
        SetLastError(ERROR_SUCCESS);
        return handle;
    }
    // Opening an existing mutex ignores bInitialOwner and reports ERROR_ALREADY_EXISTS, as CreateMutexW's
    // documentation says: its owner was decided by whoever created it.
    const Opened opened = open_named(view(lpName), bInitialOwner != FALSE);
    if (!opened.state)
        return fail(opened.error);
    const HANDLE handle = add_handle(std::make_shared<MutexHandle>(opened.state));
    SetLastError(opened.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    const auto mutex = find<MutexHandle>(hHandle);
    const std::string timeout = dwMilliseconds == INFINITE ? "INFINITE" : std::to_string(dwMilliseconds);
    if (const DWORD fault = enter(Service::WaitForSingleObject,
                                  "WaitForSingleObject " + describe_handle(hHandle, HandleKind::Mutex) +
                                      " timeout=" + timeout)) {
        SetLastError(fault);
        return WAIT_FAILED;
    }
    // Mutexes are the only waitable objects winsim has.
    if (!mutex) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return acquire(*mutex->state, dwMilliseconds);
}

WINBOOL WINAPI ReleaseMutex(HANDLE hMutex) {
    const auto mutex = find<MutexHandle>(hMutex);
    if (const DWORD fault =
            enter(Service::ReleaseMutex, "ReleaseMutex " + describe_handle(hMutex, HandleKind::Mutex))) {
        SetLastError(fault);
        return FALSE;
    }
    if (!mutex) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!release(*mutex->state)) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}

} // extern "C"
