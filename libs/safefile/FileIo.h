// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small file-system steps the safe write is made of. Nothing here throws; failures
// leave errno set.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QLoggingCategory>
#include <QString>

#include <string>

#include <sys/stat.h>

Q_DECLARE_LOGGING_CATEGORY(lcSafeFile)

namespace jabbly::safefile {

inline std::string nativePath(const QString &path) { return QFile::encodeName(path).toStdString(); }
inline QString shownPath(const std::string &path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

inline bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The folder and the name of a path: "a/b" gives "a" and "b", "b" gives "." and "b", and
// "/b" gives "/" and "b".
struct PathParts {
    std::string folder;
    std::string name;
};
PathParts splitPath(const std::string &path);
// `name` inside `folder`: "a" and "b" give "a/b".
std::string joinPath(const std::string &folder, const std::string &name);

// Writes all of `bytes` at the descriptor's offset, going on after interruptions.
bool writeAll(int fd, QByteArrayView bytes);
// Writes all of `bytes` from the start of the file, whatever its offset.
bool writeAllAt(int fd, QByteArrayView bytes, off_t offset);
// The whole content of the open file, read from its start.
bool readAllFrom(int fd, QByteArray &bytes);

// Flushes the folder itself, so that a rename or removal in it lasts; false with errno set.
bool syncFolder(const std::string &folder);

}  // namespace jabbly::safefile
