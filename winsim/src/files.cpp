// Files: CreateFileW, ReadFile, WriteFile, DeleteFileW.
//
// Windows lets an open refuse other opens (the share mode), across processes. Each host file that winsim
// opens gets a sharing record, a lock file in the per-user share folder named after the file's device and
// inode, so that every path to the file finds the same record. Every open holds shared locks on the record's
// bytes that describe it (reading, writing, deleting, and which of these it refuses to share), and a new open
// is checked against the bytes that others hold. The kernel drops the locks when the handle closes or its
// process dies.
#include "handles.h"
#include "locks.h"
#include "paths.h"
#include "services.h"
#include "text.h"

#include <windows.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

namespace {

using namespace winsim;

// The bytes of a sharing record.
enum ShareByte : off_t {
    kGuard = 0,
    kReading = 1,
    kWriting = 2,
    kDeleting = 3,
    kRefusesRead = 4,
    kRefusesWrite = 5,
    kRefusesDelete = 6,
};

class File final : public Object {
  public:
    static constexpr HandleKind kKind = HandleKind::File;

    File(int fd, int record, bool can_read, bool can_write, std::string name)
        : fd_(fd), record_(record), can_read_(can_read), can_write_(can_write), name_(std::move(name)) {}
    ~File() override {
        close(fd_);
        close(record_);
    }

    HandleKind kind() const override { return kKind; }
    std::string describe() const override { return "file=" + name_; }

    int fd() const { return fd_; }
    bool can_read() const { return can_read_; }
    bool can_write() const { return can_write_; }

  private:
    int fd_;
    int record_;
    bool can_read_;
    bool can_write_;
    std::string name_;
};

DWORD error_from_errno(int err, const std::string& path) {
    switch (err) {
    case ENOENT: {
        // Windows tells a missing file from a missing folder on the way to it.
        const std::string::size_type slash = path.find_last_of('/');
        if (slash == std::string::npos)
            return ERROR_FILE_NOT_FOUND;
        struct stat st;
        const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
        return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                     : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
        return ERROR_DISK_FULL;
    default:
        return ERROR_GEN_FAILURE;
    }
}

int open_share_record(const struct stat& st) {
    const std::string path = share_dir() + "/" + std::to_string(static_cast<unsigned long long>(st.st_dev)) +
                             "-" + std::to_string(static_cast<unsigned long long>(st.st_ino));
    return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

struct Sharing {
    bool read;
    bool write;
    bool remove;
    DWORD share;
};

// Claims the record for a new open; false when an existing open refuses it or it refuses an existing open.
bool claim(int record, const Sharing& s) {
    // As on Windows, an open that neither reads, writes nor deletes takes no part in sharing.
    if (!s.read && !s.write && !s.remove)
        return true;
    locks::Guard guard(record, kGuard);
    const bool conflict = (s.read && locks::held_by_others(record, kRefusesRead)) ||
                          (s.write && locks::held_by_others(record, kRefusesWrite)) ||
                          (s.remove && locks::held_by_others(record, kRefusesDelete)) ||
                          (!(s.share & FILE_SHARE_READ) && locks::held_by_others(record, kReading)) ||
                          (!(s.share & FILE_SHARE_WRITE) && locks::held_by_others(record, kWriting)) ||
                          (!(s.share & FILE_SHARE_DELETE) && locks::held_by_others(record, kDeleting));
    if (conflict)
        return false;
    const auto mark = [record](bool on, off_t byte) {
        if (on)
            locks::try_lock(record, byte, false);
    };
    mark(s.read, kReading);
    mark(s.write, kWriting);
    mark(s.remove, kDeleting);
    mark(!(s.share & FILE_SHARE_READ), kRefusesRead);
    mark(!(s.share & FILE_SHARE_WRITE), kRefusesWrite);
    mark(!(s.share & FILE_SHARE_DELETE), kRefusesDelete);
    return true;
}

HANDLE fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

BOOL fail_bool(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace

extern "C" {

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
    const std::string name = utf8(lpFileName);
    if (const DWORD fault =
            enter(Service::CreateFileW, "CreateFileW path=" + name + " access=" + hex(dwDesiredAccess) +
                                            " share=" + hex(dwShareMode) +
                                            " disposition=" + std::to_string(dwCreationDisposition)))
        return fail(fault);
    if (!lpFileName)
        return fail(ERROR_INVALID_PARAMETER);
    // winsim has no asynchronous I/O.
    if (dwFlagsAndAttributes & FILE_FLAG_OVERLAPPED)
        return fail(ERROR_NOT_SUPPORTED);
    const std::optional<std::string> path = host_path(view(lpFileName));
    if (!path)
        return fail(ERROR_PATH_NOT_FOUND);

    const Sharing sharing{
        (dwDesiredAccess & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA)) != 0,
        (dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0,
        (dwDesiredAccess & (DELETE | GENERIC_ALL)) != 0,
        dwShareMode,
    };
    int flags = O_CLOEXEC | (sharing.read && sharing.write ? O_RDWR : sharing.write ? O_WRONLY : O_RDONLY);
    switch (dwCreationDisposition) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case OPEN_EXISTING:
        break;
    case TRUNCATE_EXISTING:
        if (!sharing.write)
            return fail(ERROR_INVALID_PARAMETER);
        break;
    default:
        return fail(ERROR_INVALID_PARAMETER);
    }

    struct stat st;
    const bool existed = stat(path->c_str(), &st) == 0;
    const int fd = open(path->c_str(), flags, 0666);
    if (fd < 0)
        return fail(error_from_errno(errno, *path));
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return fail(ERROR_ACCESS_DENIED);
    }
    const int record = open_share_record(st);
    if (record < 0) {
        close(fd);
        return fail(ERROR_ACCESS_DENIED);
    }
    if (!claim(record, sharing)) {
        close(record);
        close(fd);
        return fail(ERROR_SHARING_VIOLATION);
    }
    // Truncation waits for the sharing check: a refused open must leave the file as it was.
    if (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING) {
        if (ftruncate(fd, 0) != 0) {
            const int err = errno;
            close(record);
            close(fd);
            return fail(error_from_errno(err, *path));
        }
    }
    const HANDLE handle = add_handle(std::make_shared<File>(fd, record, sharing.read, sharing.write, name));
    const bool reports_existing =
        dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
    // As CreateFileW's documentation has it: CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with
    // ERROR_ALREADY_EXISTS, every other successful open leaves the last error 0.
    SetLastError(reports_existing && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

WINBOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                        LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    const auto file = find<File>(hFile);
    if (const DWORD fault = enter(Service::ReadFile, "ReadFile " + describe_handle(hFile, HandleKind::File) +
                                                         " size=" + std::to_string(nNumberOfBytesToRead)))
        return fail_bool(fault);
    if (!file)
        return fail_bool(ERROR_INVALID_HANDLE);
    if (lpOverlapped || !lpNumberOfBytesRead)
        return fail_bool(ERROR_INVALID_PARAMETER);
    *lpNumberOfBytesRead = 0;
    if (!lpBuffer && nNumberOfBytesToRead)
        return fail_bool(ERROR_NOACCESS);
    if (!file->can_read())
        return fail_bool(ERROR_ACCESS_DENIED);
    DWORD total = 0;
    while (total < nNumberOfBytesToRead) {
        const ssize_t n =
            read(file->fd(), static_cast<char*>(lpBuffer) + total, nNumberOfBytesToRead - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *lpNumberOfBytesRead = total;
            return fail_bool(ERROR_READ_FAULT);
        }
        if (n == 0)
            break; // end of file: a synchronous read succeeds with fewer bytes, down to zero (ReadFile docs)
        total += static_cast<DWORD>(n);
    }
    *lpNumberOfBytesRead = total;
    return TRUE;
}

WINBOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                         LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    const auto file = find<File>(hFile);
    if (const DWORD fault =
            enter(Service::WriteFile, "WriteFile " + describe_handle(hFile, HandleKind::File) +
                                          " size=" + std::to_string(nNumberOfBytesToWrite)))
        return fail_bool(fault);
    if (!file)
        return fail_bool(ERROR_INVALID_HANDLE);
    if (lpOverlapped || !lpNumberOfBytesWritten)
        return fail_bool(ERROR_INVALID_PARAMETER);
    *lpNumberOfBytesWritten = 0;
    if (!lpBuffer && nNumberOfBytesToWrite)
        return fail_bool(ERROR_NOACCESS);
    if (!file->can_write())
        return fail_bool(ERROR_ACCESS_DENIED);
    DWORD total = 0;
    while (total < nNumberOfBytesToWrite) {
        const ssize_t n =
            write(file->fd(), static_cast<const char*>(lpBuffer) + total, nNumberOfBytesToWrite - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *lpNumberOfBytesWritten = total;
            return fail_bool(n < 0 && errno == ENOSPC ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
        }
        total += static_cast<DWORD>(n);
    }
    *lpNumberOfBytesWritten = total;
    return TRUE;
}

WINBOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
    if (const DWORD fault = enter(Service::DeleteFileW, "DeleteFileW path=" + utf8(lpFileName)))
        return fail_bool(fault);
    if (!lpFileName)
        return fail_bool(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> path = host_path(view(lpFileName));
    if (!path)
        return fail_bool(ERROR_PATH_NOT_FOUND);
    struct stat st;
    if (stat(path->c_str(), &st) != 0)
        return fail_bool(error_from_errno(errno, *path));
    if (S_ISDIR(st.st_mode))
        return fail_bool(ERROR_ACCESS_DENIED);
    const int record = open_share_record(st);
    if (record < 0)
        return fail_bool(ERROR_ACCESS_DENIED);
    DWORD error = ERROR_SUCCESS;
    {
        locks::Guard guard(record, kGuard);
        // Open handles that do not share deletion keep the file. One that does lets it go at once here;
        // Windows would only mark it for deletion until that handle closes.
        if (locks::held_by_others(record, kRefusesDelete))
            error = ERROR_SHARING_VIOLATION;
        else if (unlink(path->c_str()) != 0)
            error = error_from_errno(errno, *path);
    }
    close(record);
    return error == ERROR_SUCCESS ? TRUE : fail_bool(error);
}

} // extern "C"
