// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemporaryFile.h"

#include "FileIo.h"
#include "TemporaryName.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jabbly::safefile {

std::string temporaryStem(const std::string &folder, const std::string &name)
{
    return temporaryStemWithin(name, longestNameIn(folder));
}

TemporaryFile::TemporaryFile(const std::string &folder, const std::string &stem)
{
    error_ = EEXIST;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = joinPath(folder, temporaryName(stem, QRandomGenerator::global()->generate()));
        // 0666 so that the process umask decides, as for any newly created file.
        auto fd = std::make_unique<Descriptor>(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd->isOpen()) {
            error_ = errno;
            if (error_ == EEXIST)
                continue;
            break;
        }
        if (!lockedAsOurs(fd->get()))
            continue;  // someone removing leftovers got to it first: it goes, another name is tried
        // A second descriptor keeps the lock once the file is closed for writing.
        lockHolder_ = std::make_unique<Descriptor>(::dup(fd->get()));
        if (!lockHolder_->isOpen()) {
            error_ = errno;
            ::unlink(path_.c_str());
            break;
        }
        fd_ = std::move(fd);
        return;
    }
    path_.clear();
}

TemporaryFile::~TemporaryFile()
{
    fd_.reset();
    if (!path_.empty())
        ::unlink(path_.c_str());
}

// True when the file is ours: locked, and still under its name.
bool TemporaryFile::lockedAsOurs(int fd) const
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // On a file system without locks nobody else can lock the file either, so nobody
        // takes it for a leftover.
        return errno != EWOULDBLOCK && errno != EINTR;
    }
    struct stat mine, named;
    return ::fstat(fd, &mine) == 0 && ::stat(path_.c_str(), &named) == 0 && sameFile(mine, named);
}

void removeStaleTemporaries(const std::string &folder, const std::vector<std::string> &stems, uid_t owner)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir) {
        qCDebug(lcSafeFile) << "cannot look for leftover files in" << folder.c_str() << ":" << std::strerror(errno);
        return;
    }
    std::vector<std::string> candidates;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::any_of(stems.begin(), stems.end(),
                        [&](const std::string &stem) { return isTemporaryOf(entry->d_name, stem); }))
            candidates.emplace_back(entry->d_name);
    }
    const int dirFd = ::dirfd(dir);
    for (const std::string &name : candidates) {
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        Descriptor fd(::openat(dirFd, name.c_str(), O_RDONLY | flags));
        if (!fd.isOpen() && errno == EACCES)
            fd.reset(::openat(dirFd, name.c_str(), O_WRONLY | flags));
        struct stat opened, named;
        if (!fd.isOpen() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
            continue;
        if (opened.st_uid != ::geteuid() && opened.st_uid != owner)
            continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;  // a save is writing it, or locks are not to be had here
        if (::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(opened, named))
            continue;
        // Removed while the lock is held: a save that created the file just now finds it
        // locked or gone and takes another name.
        if (::unlinkat(dirFd, name.c_str(), 0) != 0) {
            const int error = errno;  // before the path is built
            qCWarning(lcSafeFile) << "cannot remove the leftover file" << joinPath(folder, name).c_str() << ":"
                                  << std::strerror(error);
        }
    }
    ::closedir(dir);
}

}  // namespace jabbly::safefile
