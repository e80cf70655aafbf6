// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scratch folder for the safe-write tests, and a cap on file sizes that makes writes
// fail as on a full disk, whoever runs the tests.

#include "ScratchFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <sys/stat.h>

namespace safefile_test {

using Scratch = jabbly::testing::ScratchFolder;

// Caps the size of files this process may write, for the scope; writes beyond it fail
// (EFBIG) the way a full disk makes them fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

QByteArray encoded(const QString &path);

struct stat statOf(const QString &path);

}  // namespace safefile_test
