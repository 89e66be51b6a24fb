// Byte-range locks on small lock files that several processes open, to give files and mutexes Windows
// semantics across processes.
//
// They are open-file-description locks (F_OFD_*): held by one open of the lock file rather than by the
// process, so two handles in one process conflict just as two processes do, and the kernel drops them when
// the last descriptor of that open closes or the process dies. Each byte of a lock file stands for one fact
// ("someone owns the mutex", "someone has the file open for reading"); a shared lock on it means "I am one of
// them".
#pragma once

#include <sys/types.h>

namespace winsim::locks {

bool try_lock(int fd, off_t byte, bool exclusive);
void wait_lock(int fd, off_t byte, bool exclusive);
void unlock(int fd, off_t byte);

// Whether another open of the lock file holds any lock on `byte`.
bool held_by_others(int fd, off_t byte);

// Holds `byte` exclusively for a scope: the check-then-claim steps of an open must not interleave with
// another process's.
class Guard {
  public:
    Guard(int fd, off_t byte) : fd_(fd), byte_(byte) { wait_lock(fd_, byte_, true); }
    ~Guard() { unlock(fd_, byte_); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  private:
    int fd_;
    off_t byte_;
};

} // namespace winsim::locks
