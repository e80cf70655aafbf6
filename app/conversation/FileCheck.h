// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File-exists check: answers whether a file is there before the program reads it.

#include <QString>

namespace jabbly {

class FileCheck {
public:
    virtual ~FileCheck() = default;
    // True when `path` names an existing file (a folder is not a file); false otherwise,
    // including for an empty path.
    virtual bool FileExists(const QString &path) = 0;
};

}  // namespace jabbly
