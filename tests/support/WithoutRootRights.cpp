// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WithoutRootRights.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace jabbly::testing {

WithoutRootRights::WithoutRootRights()
{
    if (::geteuid() != 0)
        return;
    wasRoot_ = true;
    constexpr uid_t Nobody = 65534;
    ok_ = ::setegid(Nobody) == 0 && ::seteuid(Nobody) == 0;
    if (!ok_)
        why_ = QStringLiteral("cannot act as the user nobody: ") + QString::fromLocal8Bit(std::strerror(errno));
}

WithoutRootRights::~WithoutRootRights()
{
    if (wasRoot_) {
        if (::seteuid(0) != 0 || ::setegid(0) != 0)
            std::abort();  // the rest of the tests would run with the wrong rights
    }
}

namespace {

// Whether the folder can be entered without root's rights: "folder/." needs search
// permission on the folder and on every folder on the way.
QString whyUnreachable(const QString &folder)
{
    WithoutRootRights nobody;
    if (!nobody.ok())
        return nobody.why();
    struct stat st {};
    if (::stat(QFile::encodeName(folder + QStringLiteral("/.")).constData(), &st) != 0) {
        const int e = errno;
        return folder + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(e));
    }
    return {};
}

}  // namespace

ReachableTempDir::ReachableTempDir(mode_t mode)
{
    QStringList bases{QDir::tempPath(), QStringLiteral("/tmp"), QStringLiteral("/dev/shm"), QStringLiteral("/var/tmp")};
    bases.removeDuplicates();
    QStringList problems;
    for (const QString &base : std::as_const(bases)) {
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/jabbly-test-XXXXXX"));
        if (!dir->isValid()) {
            problems << base + QStringLiteral(": ") + dir->errorString();
            continue;
        }
        if (::chmod(QFile::encodeName(dir->path()).constData(), mode) != 0) {
            const int e = errno;
            problems << dir->path() + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(e));
            continue;
        }
        const QString why = whyUnreachable(dir->path());
        if (why.isEmpty()) {
            dir_ = std::move(dir);
            return;
        }
        problems << why;
        // Tests that keep their rights can still use it.
        if (!dir_)
            dir_ = std::move(dir);
    }
    unreachable_ =
        QStringLiteral("no temporary folder that the user nobody can enter: ") + problems.join(QStringLiteral("; "));
}

ReachableTempDir::~ReachableTempDir() = default;

}  // namespace jabbly::testing
