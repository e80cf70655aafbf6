// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scratch folder for the safe-write tests, and a cap on file sizes that makes writes
// fail as on a full disk, whoever runs the tests.

#include "WithoutRootRights.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <sys/stat.h>

namespace safefile_test {

// A folder anyone may enter and write to, so that tests which drop root's rights still
// reach it; unreachable() says why they cannot, where they cannot.
class Scratch {
public:
    Scratch();
    QString unreachable() const { return dir_.unreachable(); }
    QString path(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    // The folder's entries, sorted.
    QStringList entries(const QString &folder = {}) const;

private:
    jabbly::testing::ReachableTempDir dir_;
};

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
