// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeFileTesting.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>

namespace safefile_test {

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
