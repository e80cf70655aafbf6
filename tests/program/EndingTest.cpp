// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real program ended from outside: a signal, or the X server going away, still runs
// the normal shut-down, so the learned words reach words.txt.
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A copy of the program's folder, with a words.txt in an order that only a save changes.
class ProgramCopy {
public:
    ProgramCopy()
    {
        const QDir bin(jabbly::testing::binFolder());
        for (const char *name : {"jabbly", "libRowkit.so", "libSayline.so", "cpu.txt"})
            ok_ = ok_ && QFile::copy(bin.filePath(name), path(name));
        ok_ = ok_ && writeWords("zebra\r\napple\r\n");
    }

    bool ok() const { return ok_ && folder_.isValid(); }
    QString path(const char *name) const { return QDir(folder_.path()).filePath(QLatin1String(name)); }

    bool writeWords(const QByteArray &bytes)
    {
        QFile f(path("words.txt"));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }

    QByteArray words() const
    {
        QFile f(path("words.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Starts the program and waits until its window is up and its event loop runs.
    bool start(QProcess &program, const QProcessEnvironment &environment)
    {
        QProcessEnvironment env = environment;
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("jabbly.*.debug=true"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(path("jabbly"), {QStringLiteral("Tester")});
        if (!program.waitForStarted())
            return false;
        QByteArray output;
        while (!output.contains("jabbly.startup: running")) {
            if (!program.waitForReadyRead(-1))
                return false;
            output += program.readAll();
        }
        return true;
    }

private:
    QTemporaryDir folder_;
    bool ok_ = true;
};

}  // namespace

TEST(EndingFromOutside, TermHupAndIntCloseThroughTheNormalShutDown)
{
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
        ASSERT_TRUE(copy.writeWords("zebra\r\napple\r\n"));
        QProcess program;
        ASSERT_TRUE(copy.start(program, env)) << "signal " << number;
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), number), 0);
        ASSERT_TRUE(program.waitForFinished(-1));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "signal " << number;
        EXPECT_EQ(program.exitCode(), 0) << "signal " << number;
        EXPECT_EQ(copy.words(), QByteArray("apple\r\nzebra\r\n")) << "signal " << number;
    }
}

TEST(EndingFromOutside, TheWordsAreSavedWhenTheXServerGoesAway)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok());

    // -displayfd makes Xvfb pick a free display and write its number once it accepts clients.
    QProcess server;
    server.setProcessChannelMode(QProcess::SeparateChannels);
    server.start(xvfb,
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("800x600x24")});
    ASSERT_TRUE(server.waitForStarted());
    QByteArray display;
    while (!display.contains('\n')) {
        ASSERT_TRUE(server.waitForReadyRead(-1)) << "Xvfb did not start";
        display += server.readAllStandardOutput();
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(display.trimmed()));
    QProcess program;
    ASSERT_TRUE(copy.start(program, env));
    server.kill();
    ASSERT_TRUE(server.waitForFinished(-1));
    ASSERT_TRUE(program.waitForFinished(-1));
    EXPECT_EQ(copy.words(), QByteArray("apple\r\nzebra\r\n"));
}
