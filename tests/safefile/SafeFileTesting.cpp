// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeFileTesting.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>

namespace safefile_test {

Scratch::Scratch() : dir_(0777) {}

QString Scratch::path(const QString &name) const { return dir_.filePath(name); }

void Scratch::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(path(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path(name).toStdString());
}

QByteArray Scratch::read(const QString &name) const
{
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

QStringList Scratch::entries(const QString &folder) const
{
    return QDir(path(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    ::getrlimit(RLIMIT_FSIZE, &old_);
    // Without this the kernel ends the process instead of failing the write.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = old_;
    capped.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &capped);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(encoded(path).constData(), &st), 0) << path.toStdString();
    return st;
}

}  // namespace safefile_test
