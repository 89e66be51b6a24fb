#include "locks.h"

#include <fcntl.h>

#include <cerrno>

namespace winsim::locks {
namespace {

struct flock range(off_t byte, short type) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    return lock;
}

int set_lock(int fd, int command, off_t byte, short type) {
    struct flock lock = range(byte, type);
    int rc;
    do {
        rc = fcntl(fd, command, &lock);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

} // namespace

bool try_lock(int fd, off_t byte, bool exclusive) {
    return set_lock(fd, F_OFD_SETLK, byte, exclusive ? F_WRLCK : F_RDLCK) == 0;
}

void wait_lock(int fd, off_t byte, bool exclusive) {
    set_lock(fd, F_OFD_SETLKW, byte, exclusive ? F_WRLCK : F_RDLCK);
}

void unlock(int fd, off_t byte) {
    set_lock(fd, F_OFD_SETLK, byte, F_UNLCK);
}

bool held_by_others(int fd, off_t byte) {
    struct flock lock = range(byte, F_WRLCK);
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0)
        return false;
    return lock.l_type != F_UNLCK;
}

} // namespace winsim::locks
