// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real program ended from outside: a signal, or the X server going away, still runs
// the normal shut-down, so the learned words reach words.txt.
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <string_view>

#include <sys/stat.h>

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

    // Starts the program and waits until its window is up, its event loop runs and the rest
    // of its start-up (the words among it), which follows the window's first paint, is done.
    bool start(QProcess &program, const QProcessEnvironment &environment,
               const QStringList &arguments = {QStringLiteral("Tester")})
    {
        return startUntil(program, environment, "start-up finished", arguments) &&
               output.contains("jabbly.startup: running");
    }

    // Starts the program and waits until it has written `line`; false when it ends first.
    bool startUntil(QProcess &program, const QProcessEnvironment &environment, const QByteArray &line,
                    const QStringList &arguments = {QStringLiteral("Tester")})
    {
        QProcessEnvironment env = environment;
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("jabbly.*.debug=true"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(path("jabbly"), arguments);
        if (!program.waitForStarted())
            return false;
        output.clear();
        while (!output.contains(line)) {
            if (!program.waitForReadyRead(-1))
                return false;
            output += program.readAll();
        }
        return true;
    }

    // What the program has written so far (after a start, and after readAll).
    QByteArray output;

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

TEST(EndingFromOutside, WordsThatCannotBeSavedAreKeptInTheUsersFolderWithoutWaitingOnAMessage)
{
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok());
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    QProcess program;
    ASSERT_TRUE(copy.start(program, env));
    // The words are loaded; now a folder stands where words.txt was, so the save fails
    // whoever runs the test.
    ASSERT_TRUE(QFile::remove(copy.path("words.txt")));
    ASSERT_TRUE(QDir().mkdir(copy.path("words.txt")));
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    // A message box would wait for a click that never comes; the bound only keeps a
    // broken program from holding up the run.
    const bool ended = program.waitForFinished(30000);
    if (!ended) {
        program.kill();
        program.waitForFinished(-1);
    }
    ASSERT_TRUE(ended) << "the program did not end: " << program.readAll().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    const QString output = QString::fromLocal8Bit(program.readAll());

    const QDir kept(home.filePath(QStringLiteral("Orvel Tamsin/Jabbly")));
    const QStringList files = kept.entryList({QStringLiteral("words-not-saved-*.txt")}, QDir::Files);
    ASSERT_EQ(files.size(), 1) << output.toStdString();
    QFile rescued(kept.filePath(files[0]));
    ASSERT_TRUE(rescued.open(QIODevice::ReadOnly));
    EXPECT_EQ(rescued.readAll(), QByteArray("apple\r\nzebra\r\n"));
    EXPECT_TRUE(output.contains(kept.filePath(files[0]))) << output.toStdString();
    EXPECT_TRUE(QFileInfo(copy.path("words.txt")).isDir());
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

TEST(EndingFromOutside, ASignalWhileStartUpIsHeldEndsTheProgramAndLeavesTheWordsAsTheyWere)
{
    // espeak-ng reading its data from a pipe that nobody writes holds the start-up for
    // ever: the voice listing waits for the speech engine. The signal must still end it.
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok());
    QTemporaryDir speechData;
    ASSERT_TRUE(QDir(speechData.path()).mkdir(QStringLiteral("espeak-ng-data")));
    for (const char *name : {"phontab", "phonindex", "phondata", "intonations"}) {
        const QByteArray fifo =
            QFile::encodeName(speechData.filePath(QStringLiteral("espeak-ng-data/") + QLatin1String(name)));
        ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0) << name;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ESPEAK_DATA_PATH"), speechData.path());
    QProcess program;
    ASSERT_TRUE(copy.startUntil(program, env, "watching for termination signals"));
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(-1));
    copy.output += program.readAll();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(copy.output.contains("start-up finished")) << copy.output.constData();
    EXPECT_TRUE(copy.output.contains("during start-up")) << copy.output.constData();
    EXPECT_EQ(copy.words(), QByteArray("zebra\r\napple\r\n"));
}

TEST(EndingFromOutside, TheCommandLineIsTheUsersNameAndNoOptionOfQts)
{
    // Qt would take -platform for its own and fail to start on a platform that does not
    // exist; here it is the user's name, and the window comes up.
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    ASSERT_TRUE(
        copy.start(program, env, {QStringLiteral("-platform"), QStringLiteral("nowhere"), QStringLiteral("-reverse")}))
        << copy.output.constData();
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(-1));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(copy.words(), QByteArray("apple\r\nzebra\r\n"));
}

TEST(StartingWithOddFiles, APipeOrADeviceAsTheLexiconIsLoggedAndTheProgramStarts)
{
    // A pipe nobody writes would hold the speech engine's start, and so the window, for
    // ever; /dev/zero would be read until memory runs out.
    for (const char *kind : {"pipe", "device"}) {
        SCOPED_TRACE(kind);
        ProgramCopy copy;
        ASSERT_TRUE(copy.ok());
        QTemporaryDir home;
        const QString config = home.filePath(QStringLiteral("config"));
        const QString lexiconFolder = config + QStringLiteral("/Orvel Tamsin/Jabbly");
        ASSERT_TRUE(QDir().mkpath(lexiconFolder));
        const QString lexicon = lexiconFolder + QStringLiteral("/lexicon.json");
        if (std::string_view(kind) == "pipe")
            ASSERT_EQ(::mkfifo(QFile::encodeName(lexicon).constData(), 0600), 0);
        else
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), lexicon));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        QProcess program;
        ASSERT_TRUE(copy.start(program, env)) << copy.output.constData();
        EXPECT_TRUE(copy.output.contains("jabbly.lexicon: the pronunciations were not read:"))
            << copy.output.constData();
        EXPECT_TRUE(copy.output.contains(std::string_view(kind) == "pipe" ? "not a plain file but a pipe"
                                                                          : "not a plain file but a character device"))
            << copy.output.constData();
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
        ASSERT_TRUE(program.waitForFinished(-1));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}

TEST(StartingWithOddFiles, AWordsLinkIntoAFolderThatIsNotThereSurvivesARun)
{
    // A link into a removable or synced folder that is not mounted: the link stays, the
    // words go to the user's data folder.
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok());
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("not-mounted/words.txt"));
    ASSERT_TRUE(QFile::remove(copy.path("words.txt")));
    ASSERT_TRUE(QFile::link(target, copy.path("words.txt")));
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    QProcess program;
    ASSERT_TRUE(copy.start(program, env)) << copy.output.constData();
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(-1));
    copy.output += program.readAll();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(QFileInfo(copy.path("words.txt")).symLinkTarget(), target) << copy.output.constData();
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("not-mounted"))));
    EXPECT_TRUE(copy.output.contains("is not there")) << copy.output.constData();
    const QDir kept(home.filePath(QStringLiteral("data/Orvel Tamsin/Jabbly")));
    EXPECT_FALSE(kept.entryList({QStringLiteral("words-not-saved-*.txt")}, QDir::Files).isEmpty())
        << copy.output.constData();
}
