// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileAccess.h"

#include "FileErrors.h"
#include "SafeRead.h"
#include "TemporaryName.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcRowkitFiles, "jabbly.rowkit.files")

namespace rowkit {

namespace {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    void reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now and reports close's own failure (a delayed write error shows up here).
    int close()
    {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

using jabbly::safefile::isTemporaryOf;
using jabbly::safefile::temporaryName;

// The new file of a replacement: removed when it goes out of scope unless it has been
// renamed into place. It is locked for as long as it exists under its name, so that
// removeStaleTemporaries (in this or another process) leaves it alone.
class TemporaryFile {
public:
    TemporaryFile(const std::string &folder, const std::string &stem)
    {
        error_ = EEXIST;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = folder + '/' + temporaryName(stem, QRandomGenerator::global()->generate());
            // 0666 so that the process umask decides, as for any newly created file.
            auto fd =
                std::make_unique<Descriptor>(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (fd->get() < 0) {
                error_ = errno;
                if (error_ == EEXIST)
                    continue;
                break;
            }
            if (!lockedAsOurs(fd->get()))
                continue;  // someone removing leftovers got to it first: it goes, another name is tried
            // A second descriptor keeps the lock once the file is closed for writing.
            lockHolder_ = std::make_unique<Descriptor>(::dup(fd->get()));
            if (lockHolder_->get() < 0) {
                error_ = errno;
                ::unlink(path_.c_str());
                break;
            }
            fd_ = std::move(fd);
            return;
        }
        path_.clear();
    }
    ~TemporaryFile()
    {
        fd_.reset();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    bool isOpen() const { return fd_ != nullptr; }
    int error() const { return error_; }
    int fd() const { return fd_->get(); }
    const std::string &path() const { return path_; }
    // Closes the file for writing; the lock stays until the file is renamed or removed.
    int close() { return fd_->close(); }
    void keep() { path_.clear(); }

private:
    // True when the file is ours: locked, and still under its name.
    bool lockedAsOurs(int fd) const
    {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            // On a file system without locks nobody else can lock the file either, so
            // nobody takes it for a leftover.
            return errno != EWOULDBLOCK && errno != EINTR;
        }
        struct stat mine, named;
        return ::fstat(fd, &mine) == 0 && ::stat(path_.c_str(), &named) == 0 && sameFile(mine, named);
    }

    std::string path_;
    std::unique_ptr<Descriptor> fd_;
    std::unique_ptr<Descriptor> lockHolder_;  // closed only after the destructor's unlink
    int error_ = 0;
};

// Removes what earlier saves of the file named `stem` left in `folder`: new files that
// no save is writing any more (their lock is free), owned by us or by `owner`.
void removeStaleTemporaries(const std::string &folder, const std::string &stem, uid_t owner)
{
    const std::string where = folder.empty() ? "/" : folder;
    DIR *dir = ::opendir(where.c_str());
    if (!dir) {
        qCDebug(lcRowkitFiles) << "cannot look for leftover files in" << where.c_str() << ":" << std::strerror(errno);
        return;
    }
    std::vector<std::string> candidates;
    while (const dirent *entry = ::readdir(dir)) {
        if (isTemporaryOf(entry->d_name, stem))
            candidates.emplace_back(entry->d_name);
    }
    const int dirFd = ::dirfd(dir);
    for (const std::string &name : candidates) {
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        Descriptor fd(::openat(dirFd, name.c_str(), O_RDONLY | flags));
        if (fd.get() < 0 && errno == EACCES)
            fd.reset(::openat(dirFd, name.c_str(), O_WRONLY | flags));
        struct stat opened, named;
        if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
            continue;
        if (opened.st_uid != ::geteuid() && opened.st_uid != owner)
            continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;  // a save is writing it, or locks are not to be had here
        if (::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(opened, named))
            continue;
        // Removed while the lock is held: a save that created the file just now finds it
        // locked or gone and takes another name.
        if (::unlinkat(dirFd, name.c_str(), 0) != 0)
            qCWarning(lcRowkitFiles) << "cannot remove the leftover file" << (where + '/' + name).c_str() << ":"
                                     << std::strerror(errno);
    }
    ::closedir(dir);
}

std::string nativePath(const QString &path) { return QFile::encodeName(path).toStdString(); }

// A symbolic link is followed to its file, so that replacing keeps the link.
std::string resolveLink(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;  // a dangling link is replaced by the file
}

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The failures of creating the new file that writing in place gets around.
bool cannotCreateHere(int errnum) { return errnum == EACCES || errnum == EPERM || errnum == ENAMETOOLONG; }

// Writes `bytes` over the file `target` (which is `old`) in place.
void writeInPlace(const std::string &target, const QString &path, const QByteArray &bytes, const struct stat &old)
{
    // Read access lets the C library reserve space on file systems that cannot do it
    // themselves; a file we may only write is written all the same.
    Descriptor file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 && errno == EACCES)
        file.reset(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        throw fileError(errno, path);
    struct stat st;
    if (::fstat(file.get(), &st) != 0)
        throw fileError(errno, path);
    if (!sameFile(st, old))
        throw fileError(EAGAIN, path);  // replaced while we looked at it
    if (!bytes.isEmpty()) {
        if (const int rc = ::posix_fallocate(file.get(), 0, bytes.size()); rc != 0) {
            // A reservation that failed half way may have made the file longer; the bytes
            // it added are zeros, cut off again.
            struct stat now;
            if (::fstat(file.get(), &now) == 0 && now.st_size > st.st_size && ::ftruncate(file.get(), st.st_size) != 0)
                qCWarning(lcRowkitFiles) << "cannot undo the reservation on" << path << ":" << std::strerror(errno);
            throw fileError(rc, path);
        }
    }
    if (!writeAll(file.get(), bytes.constData(), bytes.size()))
        throw fileError(errno, path);
    if (::ftruncate(file.get(), bytes.size()) != 0)
        throw fileError(errno, path);
    if (::fsync(file.get()) != 0)
        throw fileError(errno, path);
    if (file.close() != 0)
        throw fileError(errno, path);
}

}  // namespace

void readFileInChunks(const QString &path, const std::function<bool(QByteArrayView)> &consume)
{
    using jabbly::safefile::ReadFailure;
    const jabbly::safefile::ReadResult read =
        jabbly::safefile::readFileInChunks(path, MaxFileBytes, ChunkBytes, consume);
    switch (read.failure) {
    case ReadFailure::None:
        return;
    case ReadFailure::System:
        throw fileError(read.errnum, path, read.errnum == ENOENT && !path.isEmpty() && !parentFolderExists(path));
    case ReadFailure::NotPlainFile:
        // A device could be read for ever, a pipe could wait for ever: list files are plain files.
        throw notAPlainFile(path);
    case ReadFailure::TooLarge:
        throw jabbly::Error(jabbly::err::OutOfStringSpace,
                            QStringLiteral("Out of string space: '%1': the file is %2, more than a list file may hold")
                                .arg(path, read.reason()));
    }
}

QByteArray readWholeFile(const QString &path)
{
    QByteArray bytes;
    readFileInChunks(path, [&bytes](QByteArrayView chunk) {
        bytes += chunk;
        return true;
    });
    return bytes;
}

void replaceWholeFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw fileError(ENOENT, path, true);
    const std::string target = resolveLink(nativePath(path));

    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        throw fileError(errno, path);
    if (exists && S_ISDIR(old.st_mode))
        throw fileError(EISDIR, path);
    // Renaming over a device or a pipe would replace it rather than write to it.
    if (exists && !S_ISREG(old.st_mode))
        throw notAPlainFile(path);
    // A file that may not be written is not replaced either, although its folder would
    // allow the rename.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw fileError(errno, path);

    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "" : target.substr(0, slash));
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string stem = jabbly::safefile::temporaryStem(name, jabbly::safefile::longestNameIn(folder));

    // A new file would take the place of one name only; the others would keep the old
    // content.
    if (exists && old.st_nlink > 1) {
        writeInPlace(target, path, bytes, old);
        removeStaleTemporaries(folder, stem, old.st_uid);
        return;
    }

    TemporaryFile temporary(folder, stem);
    if (!temporary.isOpen()) {
        const int e = temporary.error();
        if (cannotCreateHere(e)) {
            if (exists) {
                qCDebug(lcRowkitFiles) << "no new file can be made beside" << path << "; writing it in place";
                writeInPlace(target, path, bytes, old);
                return;
            }
            throw folderError(e, QFile::decodeName(QByteArray::fromStdString(folder.empty() ? "/" : folder)));
        }
        throw fileError(e, path, e == ENOENT);
    }
    if (exists) {
        // Only a privileged process can hand a file to another owner, and only a member
        // of a group to that group.
        if (::fchown(temporary.fd(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            throw fileError(errno, path);
        struct stat made;
        if (::fstat(temporary.fd(), &made) != 0)
            throw fileError(errno, path);
        if (made.st_uid != old.st_uid || made.st_gid != old.st_gid) {
            // The rename would change who owns the file: it is written in place instead.
            writeInPlace(target, path, bytes, old);
            removeStaleTemporaries(folder, stem, old.st_uid);
            return;
        }
        if (::fchmod(temporary.fd(), old.st_mode & 07777) != 0)
            throw fileError(errno, path);
    }
    if (!writeAll(temporary.fd(), bytes.constData(), bytes.size()))
        throw fileError(errno, path);
    if (::fsync(temporary.fd()) != 0)
        throw fileError(errno, path);
    if (temporary.close() != 0)
        throw fileError(errno, path);
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        throw fileError(errno, path);
    temporary.keep();
    removeStaleTemporaries(folder, stem, exists ? old.st_uid : ::geteuid());

    // Makes the rename itself durable; the new content is already in place, so a folder
    // that cannot be synced is no failure of the save.
    Descriptor dir(::open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0 || ::fsync(dir.get()) != 0)
        qCDebug(lcRowkitFiles) << "cannot flush the folder of" << path << ":" << std::strerror(errno);
}

}  // namespace rowkit
