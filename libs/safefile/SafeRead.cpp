// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeRead.h"

#include "Descriptor.h"

#include <QFile>
#include <QLocale>

#include <algorithm>

#include <cerrno>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jabbly::safefile {

namespace {

ReadResult systemFailure(int errnum)
{
    ReadResult r;
    r.failure = ReadFailure::System;
    r.errnum = errnum;
    return r;
}

ReadResult tooLarge(qint64 limit)
{
    ReadResult r;
    r.failure = ReadFailure::TooLarge;
    r.limit = limit;
    return r;
}

QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("of an unknown kind");
}

ReadResult notPlainFile(mode_t mode)
{
    ReadResult r;
    r.failure = ReadFailure::NotPlainFile;
    r.kind = kindOf(mode);
    return r;
}

// Opens without blocking and checks what was opened: a plain file, or the failure.
ReadResult openPlainFile(const QString &path, std::unique_ptr<Descriptor> &file, struct stat &st)
{
    if (path.isEmpty())
        return systemFailure(ENOENT);
    // O_NONBLOCK: a pipe without a writer (or a device that waits for a carrier) would
    // hold open() for ever. Reads of a plain file ignore it.
    file = std::make_unique<Descriptor>(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file->get() < 0) {
        const int e = errno;
        // A socket cannot be opened at all (ENXIO); it is refused as what it is.
        if (e == ENXIO && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode))
            return notPlainFile(st.st_mode);
        return systemFailure(e);
    }
    if (::fstat(file->get(), &st) != 0)
        return systemFailure(errno);
    if (S_ISDIR(st.st_mode))
        return systemFailure(EISDIR);
    if (!S_ISREG(st.st_mode))
        return notPlainFile(st.st_mode);
    return {};
}

ReadResult readResource(const QString &path, qint64 maxBytes, qsizetype chunkBytes,
                        const std::function<bool(QByteArrayView)> &consume)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return systemFailure(ENOENT);
    const auto buffer = std::make_unique<char[]>(static_cast<size_t>(chunkBytes));
    qint64 total = 0;
    for (;;) {
        const qint64 n = file.read(buffer.get(), chunkBytes);
        if (n < 0)
            return systemFailure(EIO);
        if (n == 0)
            return {};
        total += n;
        if (total > maxBytes)
            return tooLarge(maxBytes);
        if (!consume(QByteArrayView(buffer.get(), n)))
            return {};
    }
}

}  // namespace

QString ReadResult::reason() const
{
    switch (failure) {
    case ReadFailure::None:
        return {};
    case ReadFailure::System:
        // std::error_code gives the strerror text without strerror's shared buffer.
        return QString::fromStdString(std::error_code(errnum, std::generic_category()).message());
    case ReadFailure::NotPlainFile:
        return QStringLiteral("not a plain file but %1").arg(kind);
    case ReadFailure::TooLarge: {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::DefaultNumberOptions);
        return QStringLiteral("larger than %1 bytes").arg(c.toString(limit));
    }
    }
    return {};
}

ReadResult readFileInChunks(const QString &path, qint64 maxBytes, qsizetype chunkBytes,
                            const std::function<bool(QByteArrayView)> &consume)
{
    if (chunkBytes <= 0)
        chunkBytes = DefaultChunkBytes;
    if (path.startsWith(u':'))
        return readResource(path, maxBytes, chunkBytes, consume);

    std::unique_ptr<Descriptor> file;
    struct stat st;
    if (ReadResult opened = openPlainFile(path, file, st); !opened)
        return opened;
    // Not sized from st_size: that may be anything, and files under /proc say 0. One byte
    // past the bound is asked for, so that a file of exactly maxBytes is no failure.
    const auto buffer = std::make_unique<char[]>(static_cast<size_t>(chunkBytes));
    qint64 total = 0;
    for (;;) {
        const qint64 wanted = std::min<qint64>(chunkBytes, maxBytes - total + 1);
        const ssize_t n = ::read(file->get(), buffer.get(), static_cast<size_t>(wanted));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return systemFailure(errno);
        }
        if (n == 0)
            return {};
        if (total + n > maxBytes) {
            // The bytes up to the bound still count: a reader that stops early has them.
            const qint64 within = maxBytes - total;
            if (within > 0 && !consume(QByteArrayView(buffer.get(), within)))
                return {};
            return tooLarge(maxBytes);
        }
        total += n;
        if (!consume(QByteArrayView(buffer.get(), n)))
            return {};
    }
}

ReadResult readWholeFile(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    bytes.clear();
    QByteArray read;
    ReadResult r = readFileInChunks(path, maxBytes, DefaultChunkBytes, [&read](QByteArrayView chunk) {
        read += chunk;
        return true;
    });
    if (r)
        bytes = std::move(read);
    return r;
}

ReadResult checkReadable(const QString &path, qint64 maxBytes)
{
    if (path.startsWith(u':'))
        return QFile::exists(path) ? ReadResult{} : systemFailure(ENOENT);
    std::unique_ptr<Descriptor> file;
    struct stat st;
    if (ReadResult opened = openPlainFile(path, file, st); !opened)
        return opened;
    if (st.st_size > maxBytes)
        return tooLarge(maxBytes);
    return {};
}

}  // namespace jabbly::safefile
