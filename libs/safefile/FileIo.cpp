// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIo.h"

#include "Descriptor.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSafeFile, "jabbly.files", QtInfoMsg)

namespace jabbly::safefile {

PathParts splitPath(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    path += '/';
    path += name;
    return path;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

bool writeAllAt(int fd, QByteArrayView bytes, off_t offset)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, data, static_cast<size_t>(left), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
        offset += n;
    }
    return true;
}

bool readAllFrom(int fd, QByteArray &bytes)
{
    bytes.clear();
    char buffer[64 * 1024];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        bytes.append(buffer, n);
        offset += n;
    }
}

bool syncFolder(const std::string &folder)
{
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.isOpen() && ::fsync(dir.get()) == 0;
}

}  // namespace jabbly::safefile
