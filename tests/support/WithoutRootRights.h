// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Permission tests that also mean something when the tests run as root.

#include <QString>
#include <QTemporaryDir>

#include <memory>

#include <sys/types.h>

namespace jabbly::testing {

// Root passes every permission check. For the scope of this object a root process acts
// as the unprivileged user "nobody" (effective ids only, restored afterwards); any other
// process is left as it is, since permissions already apply to it. Load component
// libraries before: "nobody" may not be able to read the build folder.
class WithoutRootRights {
public:
    WithoutRootRights();
    ~WithoutRootRights();
    WithoutRootRights(const WithoutRootRights &) = delete;
    WithoutRootRights &operator=(const WithoutRootRights &) = delete;
    bool ok() const { return ok_; }
    // Why ok() is false.
    QString why() const { return why_; }

private:
    bool wasRoot_ = false;
    bool ok_ = true;
    QString why_;
};

// A fresh temporary folder, removed with what it holds, for files that permission tests
// reach without root's rights. A checkout or TMPDIR inside a folder only its owner may
// enter is out of the reach of "nobody", so the folder goes into the first of the
// temporary folder, /tmp, /dev/shm and /var/tmp that "nobody" can search all the way to.
class ReachableTempDir {
public:
    // `mode`: the permissions of the folder itself.
    explicit ReachableTempDir(mode_t mode = 0711);
    ~ReachableTempDir();
    bool isValid() const { return dir_ && dir_->isValid(); }
    QString path() const { return dir_ ? dir_->path() : QString(); }
    QString filePath(const QString &name) const { return dir_ ? dir_->filePath(name) : QString(); }
    // Empty when WithoutRootRights leaves the folder within reach; else why it does not
    // (no such place on this machine), for the tests to skip with.
    QString unreachable() const { return unreachable_; }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString unreachable_;
};

}  // namespace jabbly::testing
