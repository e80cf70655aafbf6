// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The user's pronunciations without a window: editing, applying to text, the file.

#include "speech/Lexicon.h"

#include "ErrorNumber.h"
#include "speech/SpeechErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using jabbly::Lexicon;
using jabbly::testing::errorNumber;

namespace {

Lexicon with(std::initializer_list<std::pair<const char *, const char *>> entries)
{
    Lexicon l;
    for (const auto &[word, sayAs] : entries)
        l.set(QString::fromUtf8(word), QString::fromUtf8(sayAs));
    return l;
}

QStringList wordsOf(const Lexicon &l)
{
    QStringList words;
    for (const auto &e : l.entries())
        words << e.word + u'=' + e.sayAs;
    return words;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(Lexicon, EditingIgnoresLetterCaseAndChecksTheTexts)
{
    Lexicon l = with({{"Qt", "cute"}, {"gif", "jif"}, {"SQL", "sequel"}});
    EXPECT_EQ(wordsOf(l), (QStringList{"gif=jif", "Qt=cute", "SQL=sequel"}));

    // The same word in other letters replaces the entry; texts are trimmed.
    l.set(QStringLiteral("  qt "), QStringLiteral(" queue tee "));
    EXPECT_EQ(wordsOf(l), (QStringList{"gif=jif", "qt=queue tee", "SQL=sequel"}));
    EXPECT_EQ(l.sayAs(QStringLiteral("QT")), QStringLiteral("queue tee"));
    EXPECT_EQ(l.sayAs(QStringLiteral("Q")), QString());

    for (const auto &[word, sayAs] : std::initializer_list<std::pair<QString, QString>>{
             {QString(), QStringLiteral("x")},
             {QStringLiteral("   "), QStringLiteral("x")},
             {QStringLiteral("x"), QString()},
             {QStringLiteral("two\nlines"), QStringLiteral("x")},
             {QStringLiteral("x"), QStringLiteral("tab\there")},
             {QString(Lexicon::MaxLength + 1, u'w'), QStringLiteral("x")},
         }) {
        EXPECT_EQ(errorNumber([&] { l.set(word, sayAs); }), jabbly::err::InvalidArgument) << word.toStdString();
    }
    EXPECT_EQ(l.size(), 3);

    EXPECT_TRUE(l.remove(QStringLiteral("sql")));
    EXPECT_FALSE(l.remove(QStringLiteral("sql")));
    EXPECT_EQ(wordsOf(l), (QStringList{"gif=jif", "qt=queue tee"}));
}

TEST(Lexicon, AppliesToWholeWordsInAnyLetterCase)
{
    const Lexicon l = with({{"Qt", "cute"},
                            {"New York", "the big apple"},
                            {"New", "fresh"},
                            {"C++", "see plus plus"},
                            {"cute", "NOT AGAIN"},
                            {"naïve", "nigh eve"}});
    const struct {
        const char *text;
        const char *spoken;
    } cases[] = {
        {"I like Qt.", "I like cute."},
        {"QT, qt and qT!", "cute, cute and cute!"},
        // Not inside other words, nor next to digits or underscores.
        {"Qtip aQt Qt5 _Qt Qt_", "Qtip aQt Qt5 _Qt Qt_"},
        // The longer entry wins where both start; replacements are not replaced again.
        {"New York is new", "the big apple is fresh"},
        {"New  York", "fresh  York"},
        {"C++ and c++11 and (C++)", "see plus plus and c++11 and (see plus plus)"},
        {"Qt's widgets", "cute's widgets"},
        {"NAÏVE people", "nigh eve people"},
        {"", ""},
        {"nothing here", "nothing here"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(l.apply(QString::fromUtf8(c.text)), QString::fromUtf8(c.spoken));
    }
    EXPECT_EQ(Lexicon().apply(QStringLiteral("Qt")), QStringLiteral("Qt"));
}

TEST(Lexicon, SavesAndReadsBack)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("deeper/still/lexicon.json"));
    const Lexicon saved = with({{"Qt", "cute"}, {"Zoë", "zo ee"}, {"\"quoted\"", "with \\ back slash"}});
    saved.save(file);

    Lexicon read;
    read.load(file);
    EXPECT_EQ(wordsOf(read), wordsOf(saved));
    EXPECT_EQ(read.apply(QStringLiteral("zoë")), QStringLiteral("zo ee"));

    // Saving again replaces the file; no temporary file is left behind.
    Lexicon fewer = read;
    fewer.remove(QStringLiteral("qt"));
    fewer.save(file);
    read.load(file);
    EXPECT_EQ(read.size(), 2);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("deeper/still"))).entryList(QDir::Files), QStringList{"lexicon.json"});

    // No file yet: an empty lexicon.
    read.load(dir.filePath(QStringLiteral("none.json")));
    EXPECT_TRUE(read.isEmpty());
}

TEST(Lexicon, ReadingABadFileFailsAndKeepsWhatWasThere)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lexicon.json"));
    Lexicon l = with({{"Qt", "cute"}});
    for (const QByteArray &bytes :
         {QByteArray("not json at all"), QByteArray("[1, 2]"), QByteArray("{\"entries\": []}"),
          QByteArray("{\"lexicon\": 2, \"entries\": []}"), QByteArray("{\"lexicon\": 1, \"entries\": 5}"),
          QByteArray("\xEF\xBB\xBF{\"lexicon\": 1")}) {
        writeFile(file, bytes);
        EXPECT_EQ(errorNumber([&] { l.load(file); }), jabbly::speech_err::InvalidFileFormat) << bytes.constData();
        EXPECT_EQ(wordsOf(l), QStringList{"Qt=cute"});
    }

    // A folder where the file should be.
    EXPECT_NE(errorNumber([&] { l.load(dir.path()); }), 0);
    EXPECT_EQ(l.size(), 1);
}

TEST(Lexicon, APipeOrADeviceInPlaceOfTheFileIsRefusedWithoutReadingIt)
{
    // A pipe without a writer would hold a blocking open for ever, and /dev/zero says it is
    // empty and never ends; a hang here ends at the test's time limit.
    QTemporaryDir dir;
    Lexicon l = with({{"Qt", "cute"}});
    const QString fifo = dir.filePath(QStringLiteral("fifo.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.json"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString &file : {fifo, zero}) {
        try {
            l.load(file);
            ADD_FAILURE() << "read " << file.toStdString();
        } catch (const jabbly::Error &e) {
            EXPECT_EQ(e.number(), jabbly::speech_err::InvalidFileFormat);
            EXPECT_TRUE(e.message().contains(QStringLiteral("not a plain file"))) << e.message().toStdString();
        }
        EXPECT_EQ(wordsOf(l), QStringList{"Qt=cute"});
    }

    // A file over 16 MiB is not read either.
    const QString large = dir.filePath(QStringLiteral("large.json"));
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((qint64{16} << 20) + 1));  // sparse: takes no room on the disk
    }
    EXPECT_EQ(errorNumber([&] { l.load(large); }), jabbly::speech_err::InvalidFileFormat);
    EXPECT_EQ(l.size(), 1);
}

TEST(Lexicon, ReadingSkipsEntriesThatMakeNoSense)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lexicon.json"));
    const QJsonArray entries{
        QJsonObject{{"word", "good"}, {"sayAs", "fine"}},       QJsonObject{{"word", ""}, {"sayAs", "no word"}},
        QJsonObject{{"word", "number"}, {"sayAs", 5}},          QJsonValue(7),
        QJsonObject{{"word", "GOOD"}, {"sayAs", "later wins"}}, QJsonObject{{"word", "two\nlines"}, {"sayAs", "x"}},
        QJsonObject{{"word", "ok"}, {"sayAs", "okay"}},
    };
    writeFile(file, QJsonDocument(QJsonObject{{"lexicon", 1}, {"entries", entries}}).toJson());
    Lexicon l;
    l.load(file);
    EXPECT_EQ(wordsOf(l), (QStringList{"GOOD=later wins", "ok=okay"}));
}

TEST(Lexicon, SavingWhereNothingCanBeWrittenFailsWithoutHarm)
{
    QTemporaryDir dir;
    // The folder to hold the file is a file itself: nothing can be created there.
    writeFile(dir.filePath(QStringLiteral("blocker")), "x");
    const QString blocked = dir.filePath(QStringLiteral("blocker/lexicon.json"));
    EXPECT_EQ(errorNumber([&] { with({{"a", "b"}}).save(blocked); }), jabbly::err::PathNotFound);

    // The target is a folder: the rename cannot replace it, and it stays a folder.
    const QString folder = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    EXPECT_NE(errorNumber([&] { with({{"a", "b"}}).save(folder); }), 0);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
}

TEST(Lexicon, LivesInTheUsersConfigurationFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel Tamsin"));
    QCoreApplication::setApplicationName(QStringLiteral("Jabbly"));

    const QString file = Lexicon::defaultFile();
    EXPECT_TRUE(file.startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)))
        << file.toStdString();
    EXPECT_TRUE(file.endsWith(QStringLiteral("/Orvel Tamsin/Jabbly/lexicon.json"))) << file.toStdString();

    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
    QStandardPaths::setTestModeEnabled(false);
}
