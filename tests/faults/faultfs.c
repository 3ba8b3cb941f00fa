// SPDX-License-Identifier: GPL-3.0-or-later
// A preloaded shim that fails the k-th file operation below one folder, so tests can
// prove that every single failure leaves the player's files whole.
//
//   FAULTFS_DIR      absolute folder whose files are watched (required)
//   FAULTFS_FAIL_AT  1-based number of the watched operation to fail (0: none)
//   FAULTFS_ERRNO    errno of the failure (default ENOSPC)
//   FAULTFS_COUNT    file that receives the number of watched operations at exit
//   FAULTFS_WRITE_AT 1-based number of the watched operation just before which another
//                    program writes FAULTFS_WRITE_DATA over FAULTFS_WRITE_FILE
//   FAULTFS_LOG      file that receives one line per watched operation: its number,
//                    its call and, for calls on a path, the path
//   FAULTFS_HOLD_AT  1-based number of the watched operation before which the program
//                    stops: it creates FAULTFS_HOLD_FILE and waits until it is killed
//                    or the file is removed, so that a test can kill it at that point
//
// Watched: open, read, write, fsync/fdatasync, ftruncate, rename, unlink, link and
// mkdir on paths below the folder, and reads, writes and syncs on their descriptors.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#define MAX_FDS 4096

static char watched_dir[PATH_MAX];
static size_t watched_len;
static long fail_at;
static int fail_errno = ENOSPC;
static long operations;
static long write_at;
static long hold_at;
static unsigned char tracked[MAX_FDS];
static int ready;

static void setup(void)
{
    if (ready)
        return;
    ready = 1;
    const char* dir = getenv("FAULTFS_DIR");
    if (dir && *dir) {
        strncpy(watched_dir, dir, sizeof watched_dir - 1);
        watched_len = strlen(watched_dir);
    }
    const char* at = getenv("FAULTFS_FAIL_AT");
    fail_at = at ? atol(at) : 0;
    const char* err = getenv("FAULTFS_ERRNO");
    if (err && *err)
        fail_errno = atoi(err);
    const char* write = getenv("FAULTFS_WRITE_AT");
    write_at = write ? atol(write) : 0;
    const char* hold = getenv("FAULTFS_HOLD_AT");
    hold_at = hold ? atol(hold) : 0;
}

// Another program's write, made with the calls this shim does not count.
static void write_from_outside(void)
{
    const char* path = getenv("FAULTFS_WRITE_FILE");
    const char* data = getenv("FAULTFS_WRITE_DATA");
    int (*real_open)(const char*, int, ...) = dlsym(RTLD_NEXT, "open");
    ssize_t (*real_write)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
    int (*real_close)(int) = dlsym(RTLD_NEXT, "close");
    const int saved = errno;
    const int fd = path && data ? real_open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    if (fd >= 0) {
        real_write(fd, data, strlen(data));
        real_close(fd);
    }
    errno = saved;
}

// Tells the test where the program is, then waits there; the marker is made with calls
// this shim does not count.
static void hold_here(void)
{
    const char* path = getenv("FAULTFS_HOLD_FILE");
    int (*real_open)(const char*, int, ...) = dlsym(RTLD_NEXT, "open");
    int (*real_close)(int) = dlsym(RTLD_NEXT, "close");
    const int saved = errno;
    const int fd = path ? real_open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    if (fd >= 0) {
        real_close(fd);
        while (access(path, F_OK) == 0)
            usleep(10000);
    }
    errno = saved;
}

__attribute__((destructor)) static void report(void)
{
    const char* path = getenv("FAULTFS_COUNT");
    if (!path || !*path)
        return;
    FILE* out = fopen(path, "w");
    if (out) {
        fprintf(out, "%ld\n", operations);
        fclose(out);
    }
}

static int is_watched(int dirfd, const char* path)
{
    setup();
    if (!watched_len || !path)
        return 0;
    char full[PATH_MAX * 2];
    if (path[0] == '/') {
        snprintf(full, sizeof full, "%s", path);
    } else {
        char base[PATH_MAX];
        if (dirfd == AT_FDCWD || dirfd < 0) {
            if (!getcwd(base, sizeof base))
                return 0;
        } else {
            char link[64];
            snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
            ssize_t n = readlink(link, base, sizeof base - 1);
            if (n < 0)
                return 0;
            base[n] = 0;
        }
        snprintf(full, sizeof full, "%s/%s", base, path);
    }
    return strncmp(full, watched_dir, watched_len) == 0 &&
           (full[watched_len] == '/' || full[watched_len] == 0);
}

static int is_tracked_fd(int fd)
{
    return fd >= 0 && fd < MAX_FDS && tracked[fd];
}

static void log_operation(const char* call, const char* path)
{
    const char* log = getenv("FAULTFS_LOG");
    FILE* out = log && *log ? fopen(log, "a") : NULL;
    if (out) {
        fprintf(out, "%ld %s %s\n", operations, call, path ? path : "");
        fclose(out);
    }
}

// Counts one watched operation; true when this one is to fail.
static int should_fail(const char* call, const char* path)
{
    ++operations;
    log_operation(call, path);
    if (write_at > 0 && operations == write_at)
        write_from_outside();
    if (hold_at > 0 && operations == hold_at)
        hold_here();
    if (fail_at > 0 && operations == fail_at) {
        errno = fail_errno;
        return 1;
    }
    return 0;
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static int track(int fd, int watched)
{
    if (fd >= 0 && fd < MAX_FDS)
        tracked[fd] = (unsigned char)watched;
    return fd;
}

static int open_common(const char* which, int dirfd, const char* path, int flags, mode_t mode)
{
    const int watched = is_watched(dirfd, path);
    if (watched && should_fail(which, path))
        return -1;
    int (*real)(int, const char*, int, ...) = dlsym(RTLD_NEXT, which);
    return track(real(dirfd, path, flags, mode), watched);
}

int openat(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    return open_common("openat", dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    return open_common("openat64", dirfd, path, flags, mode);
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    return open_common("openat", AT_FDCWD, path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    return open_common("openat64", AT_FDCWD, path, flags, mode);
}

int __open_2(const char* path, int flags)
{
    return open_common("openat", AT_FDCWD, path, flags, 0);
}

int __open64_2(const char* path, int flags)
{
    return open_common("openat64", AT_FDCWD, path, flags, 0);
}

int close(int fd)
{
    track(fd, 0);
    return REAL(close)(fd);
}

ssize_t read(int fd, void* buffer, size_t size)
{
    if (is_tracked_fd(fd) && should_fail("read", NULL))
        return -1;
    return REAL(read)(fd, buffer, size);
}

ssize_t write(int fd, const void* buffer, size_t size)
{
    if (is_tracked_fd(fd) && should_fail("write", NULL))
        return -1;
    return REAL(write)(fd, buffer, size);
}

ssize_t writev(int fd, const struct iovec* iov, int count)
{
    if (is_tracked_fd(fd) && should_fail("writev", NULL))
        return -1;
    return REAL(writev)(fd, iov, count);
}

ssize_t pwrite64(int fd, const void* buffer, size_t size, off64_t offset)
{
    if (is_tracked_fd(fd) && should_fail("pwrite64", NULL))
        return -1;
    return REAL(pwrite64)(fd, buffer, size, offset);
}

int fsync(int fd)
{
    if (is_tracked_fd(fd) && should_fail("fsync", NULL))
        return -1;
    return REAL(fsync)(fd);
}

int fdatasync(int fd)
{
    if (is_tracked_fd(fd) && should_fail("fdatasync", NULL))
        return -1;
    return REAL(fdatasync)(fd);
}

int ftruncate64(int fd, off64_t length)
{
    if (is_tracked_fd(fd) && should_fail("ftruncate64", NULL))
        return -1;
    return REAL(ftruncate64)(fd, length);
}

int rename(const char* from, const char* to)
{
    if ((is_watched(AT_FDCWD, from) || is_watched(AT_FDCWD, to)) && should_fail("rename", to))
        return -1;
    return REAL(rename)(from, to);
}

int renameat(int fromdir, const char* from, int todir, const char* to)
{
    if ((is_watched(fromdir, from) || is_watched(todir, to)) && should_fail("renameat", to))
        return -1;
    return REAL(renameat)(fromdir, from, todir, to);
}

int renameat2(int fromdir, const char* from, int todir, const char* to, unsigned int flags)
{
    if ((is_watched(fromdir, from) || is_watched(todir, to)) && should_fail("renameat2", to))
        return -1;
    return REAL(renameat2)(fromdir, from, todir, to, flags);
}

int unlink(const char* path)
{
    if (is_watched(AT_FDCWD, path) && should_fail("unlink", path))
        return -1;
    return REAL(unlink)(path);
}

int unlinkat(int dirfd, const char* path, int flags)
{
    if (is_watched(dirfd, path) && should_fail("unlinkat", path))
        return -1;
    return REAL(unlinkat)(dirfd, path, flags);
}

int remove(const char* path)
{
    if (is_watched(AT_FDCWD, path) && should_fail("remove", path))
        return -1;
    return REAL(remove)(path);
}

int link(const char* from, const char* to)
{
    if ((is_watched(AT_FDCWD, from) || is_watched(AT_FDCWD, to)) && should_fail("link", to))
        return -1;
    return REAL(link)(from, to);
}

int linkat(int fromdir, const char* from, int todir, const char* to, int flags)
{
    if ((is_watched(fromdir, from) || is_watched(todir, to)) && should_fail("linkat", to))
        return -1;
    return REAL(linkat)(fromdir, from, todir, to, flags);
}

int mkdir(const char* path, mode_t mode)
{
    if (is_watched(AT_FDCWD, path) && should_fail("mkdir", path))
        return -1;
    return REAL(mkdir)(path, mode);
}
