// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The save cut short at every file call it makes, in turn: the N-th call fails (EIO,
// ENOSPC) or the process is killed there, for N = 1, 2, ... until the save gets through
// without meeting the fault. After each run the next start's recovery runs, and the file
// must hold its old content or its new content, byte for byte, with every name it has;
// a save that reported success must have left the new content, one that reported a
// failure the old. A last, undisturbed save must then leave nothing else behind.
#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "safefile/InPlaceWrite.h"
#include "lists/ItemListModel.h"
#include "safefile/SafeWrite.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

#include <sys/stat.h>
#include <unistd.h>

using namespace jabbly;

namespace {

enum class Path { Rename, InPlace };
const char *nameOf(Path path) { return path == Path::Rename ? "rename save" : "in-place save"; }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

struct ProbeRun {
    bool killed = false;
    int exitCode = 0;
    long calls = 0;
    bool hit = true;
    QString call;
    QString output;
};

ProbeRun runProbe(const QStringList &arguments, long at, const char *fault, const QString &report,
                  const QString &dataHome)
{
    QFile::remove(report);
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(JABBLY_FAULTSHIM));
    env.insert(QStringLiteral("FAULTSHIM_AT"), QString::number(at));
    env.insert(QStringLiteral("FAULTSHIM_DO"), QLatin1String(fault));
    env.insert(QStringLiteral("FAULTSHIM_REPORT"), report);
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0:detect_leaks=0"));
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(JABBLY_SAVE_PROBE), arguments);
    ProbeRun run;
    if (!probe.waitForFinished(-1)) {
        run.exitCode = -1;
        return run;
    }
    run.output = QString::fromLocal8Bit(probe.readAll());
    run.killed = probe.exitStatus() == QProcess::CrashExit;
    run.exitCode = probe.exitCode();
    const QList<QByteArray> fields = readFile(report).trimmed().split(' ');
    if (!run.killed && fields.size() == 3) {
        run.calls = fields[0].toLong();
        run.hit = fields[1] == "1";
        run.call = QString::fromLatin1(fields[2]);
    } else if (run.killed) {
        run.call = QStringLiteral("(killed)");
    }
    return run;
}

// What the runs of one path and one fault came to.
struct Tally {
    int saved = 0;      // reported success: new content
    int failedOld = 0;  // reported failure: old content
    int killedOld = 0;
    int killedNew = 0;
    int putBack = 0;       // the next start put the old content back from the copy
    long faultPoints = 0;  // file calls of the save, each one hit in its own run
};

class SaveCrash : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.filePath(QStringLiteral("data"));
        recovery = dir.filePath(QStringLiteral("recovery"));
        dataHome = dir.filePath(QStringLiteral("home"));
        report = dir.filePath(QStringLiteral("report"));
    }

    QString file() const { return folder + QStringLiteral("/words.txt"); }
    QString otherName() const { return folder + QStringLiteral("/other name.txt"); }

    void prepare(Path path, const QByteArray &old)
    {
        QDir(folder).removeRecursively();
        QDir(recovery).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QDir().mkpath(recovery));
        writeFile(file(), old);
        // A second name makes the save write in place.
        if (path == Path::InPlace) {
            ASSERT_EQ(::link(QFile::encodeName(file()).constData(), QFile::encodeName(otherName()).constData()), 0);
        }
    }

    // Runs the probe with the fault at every call in turn; `nextStart` is the next
    // start's recovery and returns the content as the program would then see it.
    Tally crashAtEveryCall(Path path, const char *fault, const QByteArray &old, const QByteArray &fresh,
                           const QStringList &arguments, const std::function<QByteArray()> &nextStart)
    {
        Tally tally;
        for (long at = 1;; ++at) {
            SCOPED_TRACE(QStringLiteral("%1, %2 at file call %3")
                             .arg(QLatin1String(nameOf(path)), QLatin1String(fault))
                             .arg(at)
                             .toStdString());
            prepare(path, old);
            if (HasFatalFailure())
                return tally;
            const ProbeRun run = runProbe(arguments, at, fault, report, dataHome);
            if (!run.killed && run.exitCode != 0 && run.exitCode != 3) {
                ADD_FAILURE() << "the probe did not run: " << run.exitCode << " " << run.output.toStdString();
                return tally;
            }
            if (!run.hit) {
                // The save made fewer calls than `at`: it went through undisturbed.
                EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
                EXPECT_EQ(readFile(file()), fresh);
                tally.faultPoints = at - 1;
                return tally;
            }
            const bool copyWasThere = hasCopy();
            const QByteArray seen = nextStart();
            const QString where = run.killed ? run.call : run.call + " -> " + run.output.trimmed();
            if (run.killed) {
                EXPECT_TRUE(seen == old || seen == fresh) << where.toStdString() << ": " << seen.left(60).toStdString();
                (seen == old ? tally.killedOld : tally.killedNew)++;
            } else if (run.exitCode == 0) {
                EXPECT_EQ(seen, fresh) << where.toStdString();
                ++tally.saved;
            } else {
                EXPECT_EQ(seen, old) << where.toStdString();
                ++tally.failedOld;
            }
            if (copyWasThere && seen == old)
                ++tally.putBack;
            EXPECT_FALSE(hasCopy()) << where.toStdString()
                                    << ": the copy of the old content is still there after the next start";
            if (path == Path::InPlace) {
                EXPECT_EQ(readFile(otherName()), seen) << where.toStdString();
                struct stat st {};
                EXPECT_EQ(::stat(QFile::encodeName(file()).constData(), &st), 0);
                EXPECT_EQ(st.st_nlink, 2u) << where.toStdString();
            }
            // An undisturbed save afterwards clears whatever the cut-short one left.
            safefile::WriteOptions options;
            options.recoveryFolder = recovery;
            EXPECT_NO_THROW(safefile::replaceFile(file(), "last\r\n", options)) << where.toStdString();
            const QStringList expected =
                path == Path::InPlace ? QStringList{"other name.txt", "words.txt"} : QStringList{"words.txt"};
            EXPECT_EQ(entriesOf(folder), expected) << where.toStdString();
            EXPECT_TRUE(entriesOf(recovery).isEmpty()) << where.toStdString();
            if (HasFailure() || at > 500)
                return tally;
        }
    }

    bool hasCopy() const
    {
        const std::string target = QFile::encodeName(file()).toStdString();
        return QFileInfo::exists(QFile::decodeName(QByteArray::fromStdString(safefile::copyBeside(target).path()))) ||
               QFileInfo::exists(QFile::decodeName(QByteArray::fromStdString(
                   safefile::copyElsewhere(target, QFile::encodeName(recovery).toStdString()).path())));
    }

    static void print(const char *what, Path path, const char *fault, const Tally &t)
    {
        std::cout << what << ", " << nameOf(path) << ", " << fault << ": " << t.faultPoints << " fault points; saved "
                  << t.saved << ", failed with the old content " << t.failedOld << ", killed with the old content "
                  << t.killedOld << ", killed with the new content " << t.killedNew
                  << "; old content put back from the copy " << t.putBack << std::endl;
    }

    QTemporaryDir dir;
    QString folder, recovery, dataHome, report;
};

const QByteArray Old = "apple\r\nbanana\r\ncherry\r\ndate\r\nelderberry\r\n";
const QByteArray Fresh = "fig\r\ngrape\r\n";  // shorter: an in-place write cuts the file

}  // namespace

TEST_F(SaveCrash, TheSafeWriteEndsWithTheOldOrTheNewContentAtEveryFault)
{
    const QString content = dir.filePath(QStringLiteral("fresh"));
    writeFile(content, Fresh);
    safefile::WriteOptions options;
    options.recoveryFolder = recovery;
    const auto nextStart = [&] {
        try {
            safefile::recoverInterruptedWrite(file(), options);
        } catch (const Error &error) {
            ADD_FAILURE() << "the next start could not put the old content back: " << error.message().toStdString();
        }
        return readFile(file());
    };
    for (const Path path : {Path::Rename, Path::InPlace}) {
        for (const char *fault : {"eio", "enospc", "kill"}) {
            const Tally t = crashAtEveryCall(path, fault, Old, Fresh, {"helper", file(), content, recovery}, nextStart);
            print("safe write", path, fault, t);
            EXPECT_GT(t.faultPoints, 5);
            if (path == Path::InPlace && QLatin1String(fault) == QLatin1String("kill")) {
                EXPECT_GT(t.putBack, 0) << "no kill came between the copy and the end of the write";
            }
            if (HasFailure())
                return;
        }
    }
}

TEST_F(SaveCrash, ListsaveThroughTheComponentAndTheNextListload)
{
    ComponentLibrary library(jabbly::testing::binFolder(), QStringLiteral("Rowkit"), RowkitFactory);
    Rowkit rowkit(library.instance());
    const QStringList fresh{"fig", "grape"};
    // Listload at the next start puts the old content back before it reads.
    const auto nextStart = [&] {
        ItemListModel list(false);
        try {
            rowkit.Listload(list, file());
        } catch (const Error &error) {
            ADD_FAILURE() << "the next load failed: " << error.message().toStdString();
        }
        QByteArray seen;
        for (int i = 0; i < list.ListCount(); ++i)
            seen += list.List(i).toUtf8() + "\r\n";
        EXPECT_EQ(seen, readFile(file()));
        return seen;
    };
    QStringList arguments{"rowkit", jabbly::testing::binFolder(), file()};
    arguments += fresh;
    for (const Path path : {Path::Rename, Path::InPlace}) {
        const Tally t = crashAtEveryCall(path, "kill", Old, "fig\r\ngrape\r\n", arguments, nextStart);
        print("Listsave", path, "kill", t);
        EXPECT_GT(t.faultPoints, 5);
        if (HasFailure())
            return;
    }
}
