// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fakes of the file services the run uses, for tests: each answers from what the test put
// in and records what it was asked.

#include "conversation/FileCheck.h"
#include "conversation/FileSystem.h"
#include "jabbly/error.h"

#include <QMap>
#include <QSet>
#include <QStringList>

#include <optional>

namespace jabbly::testing {

// Knows the files in `files`; every question is recorded in `asked`.
class FakeFileCheck : public FileCheck {
public:
    bool FileExists(const QString &path) override
    {
        asked.append(path);
        if (failure)
            throw *failure;
        return files.contains(path);
    }

    QSet<QString> files;
    QStringList asked;
    std::optional<Error> failure;  // thrown by every call when set
};

// Sizes of the files in `sizes`; any other path fails as a missing file would (53), or with
// the error set for it in `errors`.
class FakeFileSystem : public FileSystem {
public:
    int64_t FileSize(const QString &path) override
    {
        measured.append(path);
        if (auto it = errors.constFind(path); it != errors.cend())
            throw Error(*it, QStringLiteral("Cannot measure %1").arg(path));
        if (auto it = sizes.constFind(path); it != sizes.cend())
            return *it;
        throw Error(err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    }

    QMap<QString, int64_t> sizes;
    QMap<QString, int> errors;
    QStringList measured;
};

}  // namespace jabbly::testing
