// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scratch folder for the file tests, within reach of tests that drop root's rights.

#include "WithoutRootRights.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace jabbly::testing {

// A folder anyone may enter and write to, so that tests which drop root's rights still
// reach it; unreachable() says why they cannot, where they cannot. write() and read()
// throw std::runtime_error when the file cannot be written or read.
class ScratchFolder {
public:
    ScratchFolder();
    QString unreachable() const { return dir_.unreachable(); }
    QString path(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    // The folder's entries, hidden ones included, sorted by name.
    QStringList entries(const QString &folder = {}) const;

private:
    ReachableTempDir dir_;
};

}  // namespace jabbly::testing
