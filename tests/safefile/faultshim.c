// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
/* A fault injector for the crash test of the safe write, preloaded (LD_PRELOAD) into the
 * program under test. Once armed, it counts the file calls the program makes and makes
 * the N-th one fail or end the process:
 *
 *   FAULTSHIM_AT=N          the call to hit (1 = the first after arming)
 *   FAULTSHIM_DO=eio|enospc|kill
 *   FAULTSHIM_REPORT=path   written at disarm: "<calls counted> <1 if the fault was hit, else 0> <name of the call
 * hit>"
 *
 * The program arms and disarms it through faultshim_arm() and faultshim_disarm(), found
 * with dlsym, so that only the calls of the operation under test are counted. Calls on
 * the standard descriptors 0-2 (log output) are not counted. A failing close still
 * closes, as the kernel's does. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

static int armed;
static long calls;
static long hitAt;
static int hit;
static const char *hitName = "-";
static enum { FailEio, FailEnospc, Kill } action;

void faultshim_arm(void)
{
    const char *at = getenv("FAULTSHIM_AT");
    const char *what = getenv("FAULTSHIM_DO");
    hitAt = at ? atol(at) : 0;
    action = !what ? FailEio : strcmp(what, "kill") == 0 ? Kill : strcmp(what, "enospc") == 0 ? FailEnospc : FailEio;
    calls = 0;
    hit = 0;
    armed = 1;
}

void faultshim_disarm(void)
{
    armed = 0;
    const char *report = getenv("FAULTSHIM_REPORT");
    if (!report)
        return;
    FILE *out = fopen(report, "w");
    if (!out)
        return;
    fprintf(out, "%ld %d %s\n", calls, hit, hitName);
    fclose(out);
}

/* Nonzero when this call is the one to fail; errno is then set. Ends the process for "kill". */
static int fault(const char *name, int fd)
{
    if (!armed || (fd >= 0 && fd <= 2))
        return 0;
    if (++calls != hitAt)
        return 0;
    hit = 1;
    hitName = name;
    if (action == Kill)
        raise(SIGKILL);
    errno = action == FailEnospc ? ENOSPC : EIO;
    return 1;
}

/* The next definition of `name` (the C library's), of the type its header declares. */
#define REAL(name)                                                                                                     \
    static __typeof__(&name) real_##name;                                                                              \
    if (!real_##name)                                                                                                  \
    real_##name = (__typeof__(&name))dlsym(RTLD_NEXT, #name)

static mode_t modeArgument(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(args, int) : 0;
}

#define OPEN_LIKE(name)                                                                                                \
    int name(const char *path, int flags, ...)                                                                         \
    {                                                                                                                  \
        va_list args;                                                                                                  \
        va_start(args, flags);                                                                                         \
        const mode_t mode = modeArgument(flags, args);                                                                 \
        va_end(args);                                                                                                  \
        REAL(name);                                                                                                    \
        if (fault(#name, -1))                                                                                          \
            return -1;                                                                                                 \
        return real_##name(path, flags, mode);                                                                         \
    }
OPEN_LIKE(open)
OPEN_LIKE(open64)

#define OPENAT_LIKE(name)                                                                                              \
    int name(int dir, const char *path, int flags, ...)                                                                \
    {                                                                                                                  \
        va_list args;                                                                                                  \
        va_start(args, flags);                                                                                         \
        const mode_t mode = modeArgument(flags, args);                                                                 \
        va_end(args);                                                                                                  \
        REAL(name);                                                                                                    \
        if (fault(#name, -1))                                                                                          \
            return -1;                                                                                                 \
        return real_##name(dir, path, flags, mode);                                                                    \
    }
OPENAT_LIKE(openat)
OPENAT_LIKE(openat64)

int creat(const char *path, mode_t mode)
{
    REAL(creat);
    return fault("creat", -1) ? -1 : real_creat(path, mode);
}

ssize_t read(int fd, void *buf, size_t count)
{
    REAL(read);
    return fault("read", fd) ? -1 : real_read(fd, buf, count);
}

ssize_t pread(int fd, void *buf, size_t count, off_t offset)
{
    REAL(pread);
    return fault("pread", fd) ? -1 : real_pread(fd, buf, count, offset);
}

ssize_t pread64(int fd, void *buf, size_t count, off_t offset)
{
    REAL(pread64);
    return fault("pread64", fd) ? -1 : real_pread64(fd, buf, count, offset);
}

ssize_t write(int fd, const void *buf, size_t count)
{
    REAL(write);
    return fault("write", fd) ? -1 : real_write(fd, buf, count);
}

ssize_t pwrite(int fd, const void *buf, size_t count, off_t offset)
{
    REAL(pwrite);
    return fault("pwrite", fd) ? -1 : real_pwrite(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void *buf, size_t count, off_t offset)
{
    REAL(pwrite64);
    return fault("pwrite64", fd) ? -1 : real_pwrite64(fd, buf, count, offset);
}

int fsync(int fd)
{
    REAL(fsync);
    return fault("fsync", fd) ? -1 : real_fsync(fd);
}

int fdatasync(int fd)
{
    REAL(fdatasync);
    return fault("fdatasync", fd) ? -1 : real_fdatasync(fd);
}

int ftruncate(int fd, off_t length)
{
    REAL(ftruncate);
    return fault("ftruncate", fd) ? -1 : real_ftruncate(fd, length);
}

int ftruncate64(int fd, off_t length)
{
    REAL(ftruncate64);
    return fault("ftruncate64", fd) ? -1 : real_ftruncate64(fd, length);
}

int fallocate(int fd, int mode, off_t offset, off_t length)
{
    REAL(fallocate);
    return fault("fallocate", fd) ? -1 : real_fallocate(fd, mode, offset, length);
}

int fallocate64(int fd, int mode, off_t offset, off_t length)
{
    REAL(fallocate64);
    return fault("fallocate64", fd) ? -1 : real_fallocate64(fd, mode, offset, length);
}

/* posix_fallocate returns its error instead of setting errno. */
int posix_fallocate(int fd, off_t offset, off_t length)
{
    REAL(posix_fallocate);
    return fault("posix_fallocate", fd) ? errno : real_posix_fallocate(fd, offset, length);
}

int posix_fallocate64(int fd, off_t offset, off_t length)
{
    REAL(posix_fallocate64);
    return fault("posix_fallocate64", fd) ? errno : real_posix_fallocate64(fd, offset, length);
}

int close(int fd)
{
    REAL(close);
    if (fault("close", fd)) {
        const int e = errno;
        real_close(fd);
        errno = e;
        return -1;
    }
    return real_close(fd);
}

int rename(const char *from, const char *to)
{
    REAL(rename);
    return fault("rename", -1) ? -1 : real_rename(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    REAL(renameat);
    return fault("renameat", -1) ? -1 : real_renameat(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    REAL(renameat2);
    return fault("renameat2", -1) ? -1 : real_renameat2(fromDir, from, toDir, to, flags);
}

int unlink(const char *path)
{
    REAL(unlink);
    return fault("unlink", -1) ? -1 : real_unlink(path);
}

int unlinkat(int dir, const char *path, int flags)
{
    REAL(unlinkat);
    return fault("unlinkat", -1) ? -1 : real_unlinkat(dir, path, flags);
}

int fchmod(int fd, mode_t mode)
{
    REAL(fchmod);
    return fault("fchmod", fd) ? -1 : real_fchmod(fd, mode);
}

int fchown(int fd, uid_t owner, gid_t group)
{
    REAL(fchown);
    return fault("fchown", fd) ? -1 : real_fchown(fd, owner, group);
}

int fsetxattr(int fd, const char *name, const void *value, size_t size, int flags)
{
    REAL(fsetxattr);
    return fault("fsetxattr", fd) ? -1 : real_fsetxattr(fd, name, value, size, flags);
}

int fremovexattr(int fd, const char *name)
{
    REAL(fremovexattr);
    return fault("fremovexattr", fd) ? -1 : real_fremovexattr(fd, name);
}
