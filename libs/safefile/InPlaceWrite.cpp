// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "InPlaceWrite.h"

#include "Descriptor.h"
#include "FileErrors.h"
#include "FileIo.h"
#include "TemporaryFile.h"

#include <QByteArray>
#include <QDir>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace jabbly::safefile {

namespace {

std::string hashOf(const std::string &text)
{
    uint64_t hash = 14695981039346656037ULL;  // FNV-1a: the same on every run
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

bool mayNotCreate(int e) { return e == EACCES || e == EPERM || e == EROFS || e == ENAMETOOLONG || e == ENOENT; }

jabbly::Error noCopyError(int errnum, const QString &shown)
{
    const QString reason = QString::fromStdString(std::error_code(errnum, std::generic_category()).message());
    return jabbly::Error(
        fileErrorNumber(errnum),
        QStringLiteral("Cannot write '%1' in place: no copy of its old content could be kept first: %2")
            .arg(shown, reason));
}

// Writes the copy under a new name and renames it into place, so that a copy that is
// found is always complete. 0, or the errno value of the failure.
int writeCopy(const CopyPlace &place, const QByteArray &bytes, mode_t mode)
{
    TemporaryFile file(place.folder, place.stem);
    if (!file.isOpen())
        return file.error();
    if (::fchmod(file.fd(), mode & 0666) != 0 || !writeAll(file.fd(), bytes) || ::fsync(file.fd()) != 0 ||
        file.close() != 0 || ::rename(file.path().c_str(), place.path().c_str()) != 0)
        return errno;
    file.keep();
    // The copy must outlast a power cut before the old content begins to change.
    if (!syncFolder(place.folder)) {
        const int e = errno;
        if (e != EINVAL && e != ENOTSUP) {
            // Not kept after all: a copy left here would be taken for the last good one.
            ::unlink(place.path().c_str());
            return e;
        }
    }
    removeStaleTemporaries(place.folder, {place.stem}, ::geteuid());
    return 0;
}

bool isPlainFile(const std::string &path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Keeps the copy of `bytes`, the old content of `target`, and returns its path; empty
// when no folder lets us make one (the write then goes on without, as it would have to
// anyway). Throws when the copy failed for another reason (a full or failing disk).
std::string keepCopy(const std::string &target, const QString &shown, const QByteArray &bytes, mode_t mode,
                     const std::string &recoveryFolder)
{
    const CopyPlace beside = copyBeside(target);
    const CopyPlace elsewhere = copyElsewhere(target, recoveryFolder);
    // An earlier write that never finished left its copy, which holds the last complete
    // content: it stays, and guards this write too.
    for (const CopyPlace &place : {beside, elsewhere}) {
        if (isPlainFile(place.path()))
            return place.path();
    }
    const int besideError = writeCopy(beside, bytes, mode);
    if (besideError == 0)
        return beside.path();
    int elsewhereError = EACCES;
    if (!recoveryFolder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(recoveryFolder, ec);
        elsewhereError = ec ? ec.value() : writeCopy(elsewhere, bytes, mode);
        if (elsewhereError == 0) {
            qCInfo(lcSafeFile).noquote() << "the old content of" << shown << "is kept in" << shownPath(elsewhere.path())
                                         << "while it is written in place";
            return elsewhere.path();
        }
    }
    if (mayNotCreate(besideError) && mayNotCreate(elsewhereError)) {
        qCWarning(lcSafeFile).noquote() << "no copy of" << shown << "can be kept anywhere ("
                                        << std::strerror(besideError) << "/" << std::strerror(elsewhereError)
                                        << "); writing it in place without one";
        return {};
    }
    throw noCopyError(mayNotCreate(besideError) ? elsewhereError : besideError, shown);
}

// Removes the copy once the new content is on the disk. A copy that stayed would put
// the old content back at the next start, so failing to remove it fails the write.
void dropCopy(const std::string &copy, const QString &shown)
{
    if (copy.empty())
        return;
    if (::unlink(copy.c_str()) != 0 && errno != ENOENT) {
        const int e = errno;
        const QString reason = QString::fromStdString(std::error_code(e, std::generic_category()).message());
        throw jabbly::Error(
            fileErrorNumber(e),
            QStringLiteral("'%1' was written, but the copy of its old content, '%2', cannot be removed: %3.  "
                           "Remove it, or the old content comes back at the next start.")
                .arg(shown, shownPath(copy), reason));
    }
    if (!syncFolder(splitPath(copy).folder))
        qCDebug(lcSafeFile) << "cannot flush the folder of" << copy.c_str() << ":" << std::strerror(errno);
}

// The same, where the file holds the old content again: a copy that stays is harmless.
void dropCopyQuietly(const std::string &copy, const QString &shown)
{
    try {
        dropCopy(copy, shown);
    } catch (const jabbly::Error &error) {
        qCWarning(lcSafeFile).noquote() << error.message();
    }
}

}  // namespace

CopyPlace copyBeside(const std::string &target)
{
    const PathParts parts = splitPath(target);
    return {parts.folder, temporaryStem(parts.folder, parts.name + ".old")};
}

CopyPlace copyElsewhere(const std::string &target, const std::string &recoveryFolder)
{
    std::error_code ec;
    const std::string whole = std::filesystem::absolute(target, ec).lexically_normal().string();
    const std::string name = splitPath(target).name + "." + hashOf(ec ? target : whole) + ".old";
    return {recoveryFolder, temporaryStem(recoveryFolder.empty() ? "." : recoveryFolder, name)};
}

bool putBack(const std::string &target, QByteArrayView bytes)
{
    Descriptor file(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    return file.isOpen() && writeAllAt(file.get(), bytes, 0) && ::ftruncate(file.get(), bytes.size()) == 0 &&
           ::fsync(file.get()) == 0 && file.close() == 0;
}

void writeInPlace(const std::string &target, const QString &shown, QByteArrayView bytes, const struct stat &old,
                  const std::string &recoveryFolder)
{
    // Read access lets us keep the copy, and lets the C library reserve space on file
    // systems that cannot do it themselves; a file we may only write is written all the
    // same, without a copy (nor could we have read it to begin with).
    bool readable = true;
    Descriptor file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen() && errno == EACCES) {
        readable = false;
        file.reset(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    }
    if (!file.isOpen())
        throw fileError(errno, shown);
    struct stat st;
    if (::fstat(file.get(), &st) != 0)
        throw fileError(errno, shown);
    if (!sameFile(st, old))
        throw fileError(EAGAIN, shown);  // replaced while we looked at it

    QByteArray oldBytes;
    std::string copy;
    if (readable) {
        if (!readAllFrom(file.get(), oldBytes))
            throw fileError(errno, shown);
        copy = keepCopy(target, shown, oldBytes, st.st_mode, recoveryFolder);
    } else {
        qCWarning(lcSafeFile).noquote() << shown
                                        << "may be written but not read: it is written in place without a copy";
    }

    if (!bytes.isEmpty()) {
        if (const int rc = ::posix_fallocate(file.get(), 0, bytes.size()); rc != 0) {
            // A reservation that failed half way may have made the file longer; the bytes
            // it added are zeros, cut off again.
            struct stat now;
            if (::fstat(file.get(), &now) == 0 && now.st_size > st.st_size && ::ftruncate(file.get(), st.st_size) != 0)
                qCWarning(lcSafeFile) << "cannot undo the reservation on" << shown << ":" << std::strerror(errno);
            dropCopyQuietly(copy, shown);
            throw fileError(rc, shown);
        }
    }

    // From here on the old content changes.
    int failure = 0;
    if (!writeAllAt(file.get(), bytes, 0) || ::ftruncate(file.get(), bytes.size()) != 0 || ::fsync(file.get()) != 0)
        failure = errno;
    if (file.close() != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        if (!readable) {
            throw fileError(failure, shown);
        } else if (putBack(target, oldBytes)) {
            dropCopyQuietly(copy, shown);
        } else {
            qCWarning(lcSafeFile).noquote()
                << "the old content of" << shown << "could not be put back:" << std::strerror(errno)
                << "; the next start puts it back from" << shownPath(copy);
        }
        throw fileError(failure, shown);
    }
    dropCopy(copy, shown);
}

}  // namespace jabbly::safefile
