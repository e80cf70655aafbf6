// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileAccess.h"

#include "FileErrors.h"

#include "Descriptor.h"
#include "FileIo.h"

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rowkit {

using namespace jabbly::safefile;

void readFileInChunks(const QString &path, const std::function<bool(QByteArrayView)> &consume)
{
    if (path.isEmpty())
        throw fileError(ENOENT, path);
    // Non-blocking, so that a pipe without a writer cannot hang the open; it is refused
    // below like any other file that is not a plain file.
    Descriptor file(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        const int e = errno;
        throw fileError(e, path, e == ENOENT && !parentFolderExists(path));
    }
    struct stat st;
    if (::fstat(file.get(), &st) != 0)
        throw fileError(errno, path);
    if (S_ISDIR(st.st_mode))
        throw fileError(EISDIR, path);
    // A device could be read forever, a pipe could wait forever: list files are plain files.
    if (!S_ISREG(st.st_mode))
        throw notAPlainFile(path);

    // Never sized from the file's length: that may be anything (a sparse file), and
    // files under /proc say 0.
    const auto buffer = std::make_unique<char[]>(ChunkBytes);
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer.get(), ChunkBytes);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw fileError(errno, path);
        }
        if (n == 0 || !consume(QByteArrayView(buffer.get(), n)))
            break;
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

}  // namespace rowkit
