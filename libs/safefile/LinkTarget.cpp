// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkTarget.h"

#include "FileErrors.h"
#include "FileIo.h"

#include <cerrno>
#include <climits>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace jabbly::safefile {

namespace {

// The chain of links the kernel would follow is at most this long.
constexpr int MaxLinks = 40;

std::string readLink(const std::string &link)
{
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

bool isFolder(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string linkTarget(const std::string &path, const QString &shown)
{
    std::string current = path;
    for (int links = 0; links <= MaxLinks; ++links) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0) {
            const int e = errno;
            // No file yet; the save finds out by itself whether its folder is there.
            if (links == 0)
                return current;
            const std::string folder = splitPath(current).folder;
            if ((e == ENOENT || e == ENOTDIR) && !isFolder(folder))
                throw Error(err::PathNotFound, QStringLiteral("Path not found: '%1' is a link to '%2', whose folder "
                                                              "'%3' is not there (is its drive not mounted?)")
                                                   .arg(shown, shownPath(current), shownPath(folder)));
            if (e == ENOENT)
                return current;  // the link's file is made in its folder; the link stays
            throw fileError(e, shown);
        }
        if (!S_ISLNK(st.st_mode))
            return current;
        const std::string next = readLink(current);
        if (next.empty())
            throw fileError(errno, shown);
        current = next.front() == '/' ? next : joinPath(splitPath(current).folder, next);
    }
    throw fileError(ELOOP, shown);
}

}  // namespace jabbly::safefile
