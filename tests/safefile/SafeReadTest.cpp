// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the program's own files: no open that waits, nothing but plain files, a bound on
// what is read.
#include "safefile/SafeRead.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace jabbly::safefile;

namespace {

class SafeReadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(SafeReadTest, APlainFileIsReadWholeUpToItsBound)
{
    const QString file = write("a.txt", "hello\r\nworld");
    QByteArray bytes;
    EXPECT_TRUE(readWholeFile(file, 12, bytes));
    EXPECT_EQ(bytes, "hello\r\nworld");

    // One byte more than the bound: refused, and nothing handed back.
    const ReadResult r = readWholeFile(file, 11, bytes);
    EXPECT_EQ(r.failure, ReadFailure::TooLarge);
    EXPECT_EQ(r.reason(), "larger than 11 bytes");
    EXPECT_TRUE(bytes.isEmpty());

    // In pieces: in order, and the pieces within the bound are handed over before it stops.
    QByteArray pieces;
    int calls = 0;
    const ReadResult chunked = readFileInChunks(file, 9, 4, [&](QByteArrayView piece) {
        pieces += piece;
        ++calls;
        return true;
    });
    EXPECT_EQ(chunked.failure, ReadFailure::TooLarge);
    EXPECT_EQ(pieces, "hello\r\nwo");
    EXPECT_EQ(calls, 3);

    // A reader that has what it wants stops without a failure.
    pieces.clear();
    EXPECT_TRUE(readFileInChunks(file, 100, 4, [&](QByteArrayView piece) {
        pieces += piece;
        return false;
    }));
    EXPECT_EQ(pieces, "hell");

    // An empty file, and a file of exactly the bound.
    EXPECT_TRUE(readWholeFile(write("empty.txt", ""), 0, bytes));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(readWholeFile(file, 12, bytes));
}

TEST_F(SafeReadTest, WhatIsNotAPlainFileIsRefusedWithoutWaitingOrReading)
{
    // A pipe without a writer would hold a blocking open for ever; /dev/zero says it is
    // empty and never ends. A hang ends at the test's time limit.
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath("zero");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    QByteArray bytes;
    ReadResult r = readWholeFile(fifo, 1 << 20, bytes);
    EXPECT_EQ(r.failure, ReadFailure::NotPlainFile);
    EXPECT_EQ(r.reason(), "not a plain file but a pipe");
    r = readWholeFile(zero, 1 << 20, bytes);
    EXPECT_EQ(r.failure, ReadFailure::NotPlainFile);
    EXPECT_EQ(r.reason(), "not a plain file but a character device");
    EXPECT_EQ(checkReadable(fifo, 1 << 20).failure, ReadFailure::NotPlainFile);
    EXPECT_EQ(checkReadable(zero, 1 << 20).failure, ReadFailure::NotPlainFile);

    // A socket.
    const QString socketPath = dir.filePath("socket");
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(socketPath);
    if (static_cast<std::size_t>(native.size()) < sizeof address.sun_path) {
        std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
        ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        EXPECT_EQ(readWholeFile(socketPath, 10, bytes).reason(), "not a plain file but a socket");
    }
    ::close(s);

    // A folder, a missing file, an empty path.
    r = readWholeFile(dir.path(), 10, bytes);
    EXPECT_EQ(r.failure, ReadFailure::System);
    EXPECT_EQ(r.errnum, EISDIR);
    r = readWholeFile(dir.filePath("missing"), 10, bytes);
    EXPECT_EQ(r.errnum, ENOENT);
    EXPECT_FALSE(r.reason().isEmpty());
    EXPECT_EQ(readWholeFile(QString(), 10, bytes).errnum, ENOENT);
    EXPECT_EQ(checkReadable(dir.filePath("missing"), 10).errnum, ENOENT);
}

TEST_F(SafeReadTest, TheSizeAFileClaimsIsNotTrusted)
{
    // /proc files say they are empty: they are read all the same.
    QByteArray bytes;
    ASSERT_TRUE(readWholeFile("/proc/self/status", 1 << 20, bytes));
    EXPECT_TRUE(bytes.startsWith("Name:")) << bytes.left(40).constData();

    // A sparse file says it is large: checked by its size, read only up to the bound.
    const QString sparse = write("sparse", "");
    ASSERT_EQ(::truncate(QFile::encodeName(sparse).constData(), off_t{1} << 30), 0);
    EXPECT_EQ(checkReadable(sparse, 1 << 20).failure, ReadFailure::TooLarge);
    qint64 seen = 0;
    EXPECT_EQ(readFileInChunks(sparse, 1 << 20, 64 * 1024,
                               [&](QByteArrayView piece) {
                                   seen += piece.size();
                                   return true;
                               })
                  .failure,
              ReadFailure::TooLarge);
    EXPECT_EQ(seen, 1 << 20);
    EXPECT_TRUE(checkReadable(write("small", "x"), 1));
}

TEST_F(SafeReadTest, TheProgramsOwnResourcesAreReadToo)
{
    QByteArray bytes;
    ASSERT_TRUE(readWholeFile(":/safe/SafeReadTest.cpp", 1 << 20, bytes));
    EXPECT_TRUE(bytes.contains("TheProgramsOwnResourcesAreReadToo"));
    EXPECT_EQ(readWholeFile(":/safe/SafeReadTest.cpp", 10, bytes).failure, ReadFailure::TooLarge);
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(readWholeFile(":/no/such/resource", 10, bytes).errnum, ENOENT);
    EXPECT_TRUE(checkReadable(":/safe/SafeReadTest.cpp", 1 << 20));
}
