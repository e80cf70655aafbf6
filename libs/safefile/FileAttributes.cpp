// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileAttributes.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <sys/xattr.h>

namespace jabbly::safefile {

namespace {

// Splits the NUL-separated list that listxattr returns.
std::vector<std::string> namesIn(const QByteArray &list)
{
    std::vector<std::string> names;
    for (qsizetype start = 0; start < list.size();) {
        const qsizetype end = list.indexOf('\0', start);
        const qsizetype stop = end < 0 ? list.size() : end;
        if (stop > start)
            names.emplace_back(list.constData() + start, static_cast<std::size_t>(stop - start));
        start = stop + 1;
    }
    return names;
}

// Calls `query` with a buffer large enough for its answer; false with errno set.
template <typename Query>
bool sized(QByteArray &out, Query &&query)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t needed = query(nullptr, 0);
        if (needed < 0)
            return false;
        out.resize(needed);
        if (needed == 0)
            return true;
        const ssize_t got = query(out.data(), out.size());
        if (got >= 0) {
            out.resize(got);
            return true;
        }
        if (errno != ERANGE)
            return false;  // else it grew meanwhile: asked again
    }
    errno = ERANGE;
    return false;
}

bool unsupported(int e) { return e == ENOTSUP || e == ENOSYS; }

}  // namespace

bool copyExtendedAttributes(const char *from, int to)
{
    QByteArray list;
    if (!sized(list, [&](char *buf, size_t size) { return ::listxattr(from, buf, size); })) {
        if (!unsupported(errno))
            return false;
        list.clear();  // a file system without attributes: the old file has none
    }
    const std::vector<std::string> wanted = namesIn(list);

    for (const std::string &name : wanted) {
        QByteArray value;
        if (!sized(value, [&](char *buf, size_t size) { return ::getxattr(from, name.c_str(), buf, size); })) {
            if (errno == ENODATA)
                continue;  // removed since it was listed
            return false;
        }
        QByteArray present;
        if (sized(present, [&](char *buf, size_t size) { return ::fgetxattr(to, name.c_str(), buf, size); }) &&
            present == value)
            continue;  // a label the new file was given already, say
        if (::fsetxattr(to, name.c_str(), value.constData(), static_cast<size_t>(value.size()), 0) != 0)
            return false;
    }

    QByteArray own;
    if (!sized(own, [&](char *buf, size_t size) { return ::flistxattr(to, buf, size); }))
        return unsupported(errno) && wanted.empty();
    for (const std::string &name : namesIn(own)) {
        if (std::find(wanted.begin(), wanted.end(), name) != wanted.end())
            continue;
        if (::fremovexattr(to, name.c_str()) != 0 && errno != ENODATA)
            return false;
    }
    return true;
}

}  // namespace jabbly::safefile
