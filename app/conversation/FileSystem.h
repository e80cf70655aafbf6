// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file system as the commands see it: the size of one file.

#include <QString>

#include <cstdint>

namespace jabbly {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Size of the file at `path` in bytes. Throws jabbly::Error: 53 when there is no such
    // file (or the path names a folder), 76 when a folder on the path is missing, 70 when
    // the file may not be looked at, 75 for any other failure.
    virtual int64_t FileSize(const QString &path) = 0;
};

}  // namespace jabbly
