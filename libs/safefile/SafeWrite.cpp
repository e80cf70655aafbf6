// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeWrite.h"

#include "Descriptor.h"
#include "FileAttributes.h"
#include "FileErrors.h"
#include "FileIo.h"
#include "InPlaceWrite.h"
#include "LinkTarget.h"
#include "TemporaryFile.h"

#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jabbly::safefile {

namespace {

// The failures of creating the new file that writing in place gets around.
bool cannotCreateHere(int errnum) { return errnum == EACCES || errnum == EPERM || errnum == ENAMETOOLONG; }

std::string recoveryFolderOf(const WriteOptions &options)
{
    return nativePath(options.recoveryFolder.isEmpty() ? defaultRecoveryFolder() : options.recoveryFolder);
}

// After the new content has taken the old one's place whole, a copy that an unfinished
// in-place write left is out of date: it would bring back older content at the next start.
void discardOldCopies(const std::string &target, const std::string &recoveryFolder)
{
    for (const CopyPlace &place : {copyBeside(target), copyElsewhere(target, recoveryFolder)}) {
        struct stat st;
        if (::lstat(place.path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(place.path().c_str()) != 0)
            qCWarning(lcSafeFile) << "cannot remove the out-of-date copy" << place.path().c_str() << ":"
                                  << std::strerror(errno);
    }
}

void inPlace(const std::string &target, const QString &path, QByteArrayView bytes, const struct stat &old,
             const std::string &recoveryFolder)
{
    writeInPlace(target, path, bytes, old, recoveryFolder);
    const PathParts parts = splitPath(target);
    removeStaleTemporaries(parts.folder, {temporaryStem(parts.folder, parts.name)}, old.st_uid);
}

}  // namespace

QString defaultRecoveryFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/recovery");
}

void replaceFile(const QString &path, QByteArrayView bytes, const WriteOptions &options)
{
    if (path.isEmpty())
        throw fileError(ENOENT, path, true);
    const std::string target = linkTarget(nativePath(path), path);

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
    if (exists && (old.st_mode & 0222) == 0)
        throw fileError(EACCES, path);

    const PathParts parts = splitPath(target);
    const std::string stem = temporaryStem(parts.folder, parts.name);
    const std::string recoveryFolder = recoveryFolderOf(options);

    // A new file would take the place of one name only; the others would keep the old
    // content.
    if (exists && old.st_nlink > 1)
        return inPlace(target, path, bytes, old, recoveryFolder);

    TemporaryFile temporary(parts.folder, stem);
    if (!temporary.isOpen()) {
        const int e = temporary.error();
        if (cannotCreateHere(e)) {
            if (exists) {
                qCDebug(lcSafeFile) << "no new file can be made beside" << path << "; writing it in place";
                return inPlace(target, path, bytes, old, recoveryFolder);
            }
            throw folderError(e, shownPath(parts.folder));
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
            return inPlace(target, path, bytes, old, recoveryFolder);
        }
        if (::fchmod(temporary.fd(), old.st_mode & 07777) != 0)
            throw fileError(errno, path);
        if (!copyExtendedAttributes(target.c_str(), temporary.fd())) {
            qCDebug(lcSafeFile) << "the attributes of" << path << "cannot be given to a new file ("
                                << std::strerror(errno) << "); writing it in place";
            return inPlace(target, path, bytes, old, recoveryFolder);
        }
    }
    if (!writeAll(temporary.fd(), bytes))
        throw fileError(errno, path);
    if (::fsync(temporary.fd()) != 0)
        throw fileError(errno, path);
    if (temporary.close() != 0)
        throw fileError(errno, path);
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        throw fileError(errno, path);
    temporary.keep();
    discardOldCopies(target, recoveryFolder);
    removeStaleTemporaries(parts.folder, {stem, copyBeside(target).stem}, exists ? old.st_uid : ::geteuid());

    // Makes the rename itself durable; the new content is already in place, so a folder
    // that cannot be synced is no failure of the save.
    if (!syncFolder(parts.folder))
        qCDebug(lcSafeFile) << "cannot flush the folder of" << path << ":" << std::strerror(errno);
}

QString recoverInterruptedWrite(const QString &path, const WriteOptions &options)
{
    if (path.isEmpty())
        return {};
    std::string target;
    try {
        target = linkTarget(nativePath(path), path);
    } catch (const jabbly::Error &) {
        return {};  // no file a write could have reached; reading it says why
    }
    const std::string recoveryFolder = recoveryFolderOf(options);
    for (const CopyPlace &place : {copyBeside(target), copyElsewhere(target, recoveryFolder)}) {
        const std::string copy = place.path();
        Descriptor file(::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st;
        if (!file.isOpen() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        QByteArray bytes;
        if (!readAllFrom(file.get(), bytes))
            throw fileError(errno, shownPath(copy));
        file.reset();

        struct stat now;
        if (::stat(target.c_str(), &now) == 0) {
            if (!putBack(target, bytes))
                throw fileError(errno, path);
        } else if (errno == ENOENT) {
            replaceFile(path, bytes, options);  // removed since: made again, whole
        } else {
            throw fileError(errno, path);
        }
        if (::unlink(copy.c_str()) != 0 && errno != ENOENT)
            qCWarning(lcSafeFile) << "cannot remove the copy" << copy.c_str()
                                  << "after putting it back:" << std::strerror(errno);
        else if (!syncFolder(place.folder))
            qCDebug(lcSafeFile) << "cannot flush the folder of" << copy.c_str() << ":" << std::strerror(errno);
        discardOldCopies(target, recoveryFolder);
        return shownPath(copy);
    }
    return {};
}

}  // namespace jabbly::safefile
