// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The run's start-up and shut-down file steps against a temporary program folder.
#include "session/Session.h"

#include "FakeFileServices.h"
#include "FakeSessionView.h"
#include "FakeUserMessages.h"
#include "MockSpeechEngine.h"
#include "TestFolder.h"
#include "WithoutRootRights.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace jabbly;
using jabbly::testing::FakeFileCheck;
using jabbly::testing::FakeFileSystem;
using jabbly::testing::FakeSessionView;
using jabbly::testing::FakeUserMessages;
using jabbly::testing::MockSpeechEngine;
using ::testing::NiceMock;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Answers the existence test from the real folder, or fails every time when told to.
class FolderFileCheck : public FileCheck {
public:
    bool FileExists(const QString &path) override
    {
        if (failing)
            throw Error(err::PathFileAccess, QStringLiteral("cannot ask"));
        const QFileInfo info(path);
        return info.exists() && !info.isDir();
    }
    bool failing = false;
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        // Placeholders in the folder's name must reach the user's messages as they are.
        ASSERT_TRUE(QDir(folder.path()).mkdir(FolderName));
        writeFile(path("cpu.txt"), "Tell me more, \xc2\xa3NAME\xc2\xa3.\r\n");
    }

    static constexpr const char *FolderName = "pct%1 dir%2";
    QString programFolder() const { return QDir(folder.path()).filePath(FolderName); }
    QString path(const QString &name) const { return QDir(programFolder()).filePath(name); }

    // A run in the test's folder, started with the window's file steps.
    std::unique_ptr<Session> start(bool existenceTestFails = false)
    {
        auto session = make(existenceTestFails);
        startUp(*session);
        return session;
    }

    std::unique_ptr<Session> make(bool existenceTestFails = false)
    {
        SessionServices services;
        services.dataFolder = programFolder() + QLatin1Char('/');
        services.wordsFolder = wordsFolder;
        services.userDataFolder = userDataFolder;
        services.componentFolder = jabbly::testing::binFolder();
        auto engine = std::make_unique<NiceMock<MockSpeechEngine>>();
        tts = engine.get();
        services.tts = std::move(engine);
        auto check = std::make_unique<FolderFileCheck>();
        check->failing = existenceTestFails;
        services.fileCheck = std::move(check);
        services.fileSystem = std::make_unique<FakeFileSystem>();
        auto boxes = std::make_unique<FakeUserMessages>();
        messages = boxes.get();
        services.messages = std::move(boxes);
        return std::make_unique<Session>(std::move(services), view);
    }

    void startUp(Session &session)
    {
        started = session.loadReplies();
        if (started) {
            session.loadWords();
            session.seedWords();
        }
    }

    void say(Session &s, QString line) { s.Process(QStringLiteral("Human"), line); }

    jabbly::testing::ReachableTempDir folder;  // one permission test drops root's rights
    QString wordsFolder;                       // empty: words.txt beside the program
    QString userDataFolder;                    // empty: none
    FakeSessionView view;
    MockSpeechEngine *tts = nullptr;
    FakeUserMessages *messages = nullptr;
    bool started = false;
};

}  // namespace

TEST_F(SessionTest, LoadsTheFilesSeedsAnEmptyWordListAndSavesItSortedAtTheEnd)
{
    {
        auto s = start();
        ASSERT_TRUE(started);
        EXPECT_EQ(s->HidCPU().items(), QStringList{QStringLiteral("Tell me more, £NAME£.")});
        EXPECT_EQ(s->HidWord().items(), QStringList{"jabbly"});
        EXPECT_EQ(s->helpFile(), path("jabbly.chm"));
        say(*s, "I like Cats");
        EXPECT_EQ(view.WW.texts(jabbly::testing::RecordingTranscript::SayCPU), QStringList{"Tell me more, Human."});
        s->saveWords();
        EXPECT_TRUE(messages->shown.isEmpty());  // the messages go with the session
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("cats\r\ni\r\njabbly\r\nlike\r\n"));

    // An empty words.txt counts as none: the seed word again, and the learned words kept.
    writeFile(path("words.txt"), "");
    auto again = start();
    EXPECT_EQ(again->HidWord().items(), QStringList{"jabbly"});
}

TEST_F(SessionTest, WordsFileIsReadAtStartAndARunEndedWithoutShutDownStillSavesIt)
{
    writeFile(path("words.txt"), "zebra\r\nParis\r\n");
    {
        auto s = start();
        EXPECT_EQ(s->HidWord().items(), (QStringList{"Paris", "zebra"}));
        say(*s, "paris and Cats");
    }  // destroyed without saveWords(): the application quit some other way
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("and\r\ncats\r\nParis\r\nzebra\r\n"));
}

TEST_F(SessionTest, MissingCpuFileTellsTheUserAndTheRunEndsWithoutTouchingWords)
{
    QFile::remove(path("cpu.txt"));
    writeFile(path("words.txt"), "keep\r\nme\r\n");
    {
        auto s = start();
        EXPECT_FALSE(started);
        ASSERT_EQ(messages->shown.size(), 1);
        EXPECT_EQ(messages->shown[0].kind, "critical");
        EXPECT_EQ(messages->shown[0].title, "cpu.txt Missing");
        EXPECT_EQ(messages->shown[0].text, s->missingCpuText());
        EXPECT_TRUE(
            messages->shown[0].text.startsWith("Cannot find the file '" + path("cpu.txt") +
                                               "'.  Jabbly needs this file in its own folder in order to run.  "));
        EXPECT_TRUE(messages->shown[0].text.endsWith(
            "/exes/jabbly.php to download the latest version.  Jabbly will now close."));
        s->saveWords();
        s->stopSpeaking();
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("keep\r\nme\r\n"));
}

TEST_F(SessionTest, WordsThatCannotBeSavedAreReportedOnceAndTheOldFileStays)
{
    // A folder in the way of words.txt: the save cannot replace it, whoever runs the test.
    ASSERT_TRUE(QDir(programFolder()).mkpath("words.txt/inside"));
    auto s = start();
    say(*s, "remember this");
    s->saveWords();
    s->saveWords();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_TRUE(messages->shown[0].text.startsWith("Cannot save the learned words to '" + path("words.txt") + "'.  "))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(path("words.txt/inside")).isDir());
}

TEST_F(SessionTest, AWordsFileThatCouldNotBeReadIsNeverReplaced)
{
    // words.txt is there but may not be read: start-up goes on with the seed word, and
    // shut-down leaves the file alone instead of writing the seed word over it.
    if (!folder.unreachable().isEmpty())
        GTEST_SKIP() << folder.unreachable().toStdString();
    writeFile(path("words.txt"), "precious\r\nwords\r\n");
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder.path(), everyone));
    ASSERT_TRUE(QFile::setPermissions(programFolder(), everyone));
    ASSERT_TRUE(QFile::setPermissions(path("cpu.txt"), QFileDevice::ReadOwner | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(path("words.txt"), QFileDevice::WriteOwner));
    std::unique_ptr<Session> s = make();  // loads the components while the build folder can be read
    {
        jabbly::testing::WithoutRootRights nobody;
        ASSERT_TRUE(nobody.ok()) << nobody.why().toStdString();
        startUp(*s);
    }
    EXPECT_EQ(s->HidCPU().ListCount(), 1);
    EXPECT_EQ(s->HidWord().items(), QStringList{"jabbly"});
    say(*s, "new words");
    s->saveWords();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_TRUE(messages->shown[0].text.contains(path("words.txt")));
    s.reset();  // nor does the end of the run
    ASSERT_TRUE(QFile::setPermissions(path("words.txt"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("precious\r\nwords\r\n"));
}

TEST_F(SessionTest, AFailingExistenceTestStillTriesTheLoadsAndSelectsVoiceOne)
{
    writeFile(path("words.txt"), "apple\r\nbanana\r\n");
    auto s = make(true);
    EXPECT_CALL(*tts, setCurrentMode(1)).Times(2);  // once per failed test
    startUp(*s);
    EXPECT_TRUE(started);
    EXPECT_EQ(s->HidCPU().ListCount(), 1);
    EXPECT_EQ(s->HidWord().items(), (QStringList{"apple", "banana"}));
    s->saveWords();
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("apple\r\nbanana\r\n"));
}

TEST_F(SessionTest, ExitClosesTheMainWindowAndTheNameComesFromTheWholeCommandLine)
{
    auto s = start();
    say(*s, "[EXIT]");
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(Session::nameFromCommandLine({"Alice", " of", "Wonderland "}), "Alice  of Wonderland ");
    EXPECT_EQ(Session::nameFromCommandLine({"-reverse"}), "-reverse");
    EXPECT_EQ(Session::nameFromCommandLine({}), "");
}

TEST_F(SessionTest, ACpuFileThatCannotBeReadIsToldAtEveryTurnWithTheReason)
{
    // A pipe exists but is no list file: reading it fails whoever runs the test.
    QFile::remove(path("cpu.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("cpu.txt")).constData(), 0600), 0);
    auto s = start();
    ASSERT_TRUE(started);
    EXPECT_TRUE(messages->shown.isEmpty());
    say(*s, "hello there");
    say(*s, "again");
    const QStringList notes = view.WW.texts(jabbly::testing::RecordingTranscript::Command);
    ASSERT_EQ(notes.size(), 2);
    EXPECT_EQ(notes[0], notes[1]);
    EXPECT_TRUE(notes[0].startsWith("NOTE: I have no replies to choose from: cpu.txt could not be read ("))
        << notes[0].toStdString();
    EXPECT_TRUE(notes[0].contains(path("cpu.txt"))) << notes[0].toStdString();
}

TEST_F(SessionTest, AWordsFileLongerThanAListCanHoldIsKeptAndTheUserToldWhy)
{
    QByteArray many;
    for (int i = 0; i <= ItemList::MaxItems; ++i)
        many += "w" + QByteArray::number(100000 + i) + "\r\n";
    writeFile(path("words.txt"), many);
    auto s = start();
    EXPECT_EQ(s->HidWord().ListCount(), ItemList::MaxItems);
    s->saveWords();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_TRUE(
        messages->shown[0].text.startsWith("'" + path("words.txt") + "' holds more words than Jabbly can keep ("))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(messages->shown[0].text.endsWith("The words learned in this run were not saved."));
    EXPECT_EQ(readFile(path("words.txt")), many);
}

TEST_F(SessionTest, AWordsFileWithAnOverlongLineIsKeptAndTheUserToldWhatReallyHappened)
{
    // Four lines, one of them longer than a list item may be: not a full list.
    const QByteArray words = "apple\r\n" + QByteArray((16 << 20) + 1, 'x') + "\r\npear\r\nplum\r\n";
    writeFile(path("words.txt"), words);
    auto s = start();
    EXPECT_EQ(s->HidWord().items(), QStringList{"apple"});  // the lines before it stay
    s->saveWords();
    ASSERT_EQ(messages->shown.size(), 1);
    const QString text = messages->shown[0].text;
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_FALSE(text.contains("more words than Jabbly can keep")) << text.toStdString();
    EXPECT_TRUE(text.startsWith("Jabbly could not read '" + path("words.txt") + "' when it started ("))
        << text.toStdString();
    EXPECT_TRUE(text.contains("line 2 is longer than")) << text.toStdString();
    EXPECT_EQ(readFile(path("words.txt")), words);
}

TEST_F(SessionTest, TheTurkishDottedCapitalILowerCasesToAPlainI)
{
    auto s = start();
    say(*s, "[T\u0130ME]");
    const QStringList commands = view.WW.texts(jabbly::testing::RecordingTranscript::Command);
    ASSERT_EQ(commands.size(), 1);
    EXPECT_TRUE(commands[0].startsWith("COMMAND: [TIME] - "));
    say(*s, "\u0130STANBUL \U0001D400\u0130");
    EXPECT_EQ(s->HidWord().items(), (QStringList{"istanbul", "jabbly", "\U0001D400i"}));
}

TEST_F(SessionTest, WordsKeptOutsideTheProgramFolderAreReadAndWrittenThere)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("user"));
    wordsFolder = folder.path() + "/user/";
    writeFile(wordsFolder + "words.txt", "kiwi\r\n");
    writeFile(path("words.txt"), "beside\r\n");
    {
        auto s = start();
        EXPECT_EQ(s->HidCPU().ListCount(), 1);  // cpu.txt still from the program's folder
        EXPECT_EQ(s->HidWord().items(), QStringList{"kiwi"});
        say(*s, "mango");
        s->saveWords();
    }
    EXPECT_EQ(readFile(wordsFolder + "words.txt"), QByteArray("kiwi\r\nmango\r\n"));
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("beside\r\n"));
}

TEST_F(SessionTest, ARunEndedFromOutsideKeepsTheWordsItCannotSaveAndTheNextStartSaysWhere)
{
    userDataFolder = folder.path() + "/user data/";
    {
        auto s = start();
        say(*s, "remember these words");
        // Something in words.txt's way that no one can write over.
        ASSERT_TRUE(QDir(programFolder()).mkpath("words.txt/inside"));
        s->endingFromOutside("signal 15");
        s->saveWords();
        EXPECT_TRUE(messages->shown.isEmpty()) << "a message box would hold the end up";
    }
    const QStringList kept = QDir(userDataFolder).entryList({"words-not-saved-*.txt"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readFile(userDataFolder + kept[0]), QByteArray("jabbly\r\nremember\r\nthese\r\nwords\r\n"));
    EXPECT_TRUE(QFileInfo(path("words.txt")).isDir());

    // The next start tells the user where the words are, once.
    QDir(programFolder()).rmdir("words.txt/inside");
    QDir(programFolder()).rmdir("words.txt");
    for (int run = 0; run < 2; ++run) {
        auto next = start();
        if (run == 0) {
            ASSERT_EQ(messages->shown.size(), 1);
            EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
            EXPECT_TRUE(messages->shown[0].text.contains("'" + userDataFolder + kept[0] + "'"))
                << messages->shown[0].text.toStdString();
            EXPECT_TRUE(messages->shown[0].text.contains(path("words.txt"))) << messages->shown[0].text.toStdString();
        } else {
            EXPECT_TRUE(messages->shown.isEmpty());
        }
    }
    EXPECT_TRUE(QFileInfo::exists(userDataFolder + kept[0]));
}

TEST_F(SessionTest, ALinkedWordsFileOnAMissingDriveIsNotReplacedAndTheMessageNamesTheFolder)
{
    const QString away = folder.path() + "/usb stick/jabbly/words.txt";
    ASSERT_TRUE(QFile::link(away, path("words.txt")));
    auto s = start();
    say(*s, "hello there");
    s->saveWords();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_TRUE(messages->shown[0].text.contains("'" + folder.path() + "/usb stick/jabbly'"))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(path("words.txt")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(folder.path() + "/usb stick"));
}

TEST_F(SessionTest, AnUnfinishedSaveOfTheWordsIsUndoneBeforeTheyAreRead)
{
    // The save wrote words.txt in place and was cut short; its copy of the old content
    // is complete.
    writeFile(path("words.txt"), "apple\r\nbana");
    writeFile(path(".words.txt.old"), "apple\r\nbanana\r\ncherry\r\n");
    auto s = start();
    EXPECT_EQ(s->HidWord().items(), (QStringList{"apple", "banana", "cherry"}));
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path(".words.txt.old")));
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("apple\r\nbanana\r\ncherry\r\n"));
}

TEST_F(SessionTest, AnInstalledCopyReadsTheUsersOwnCpuFileWhenThereIsOne)
{
    writeFile(path("cpu.txt"), "Delivered, \xc2\xa3NAME\xc2\xa3.\r\n");
    ASSERT_TRUE(QDir(folder.path()).mkdir("user"));
    wordsFolder = folder.path() + "/user/";
    {
        auto s = start();
        EXPECT_EQ(s->repliesFile(), path("cpu.txt"));  // none of the user's own yet
        EXPECT_EQ(s->HidCPU().items(), QStringList{QString::fromUtf8("Delivered, \u00a3NAME\u00a3.")});
    }
    writeFile(wordsFolder + "cpu.txt", "My own reply.\r\nAnother one.\r\n");
    {
        auto s = start();
        EXPECT_EQ(s->repliesFile(), wordsFolder + "cpu.txt");
        EXPECT_EQ(s->HidCPU().items(), (QStringList{"My own reply.", "Another one."}));
    }
    // Even without the delivered file, the user's own replies are enough to run.
    QFile::remove(path("cpu.txt"));
    {
        auto s = start();
        EXPECT_TRUE(started);
        EXPECT_EQ(s->HidCPU().ListCount(), 2);
        EXPECT_TRUE(messages->shown.isEmpty());
    }
}

TEST_F(SessionTest, APortableCopyKeepsReadingTheCpuFileBesideTheProgram)
{
    // A copy whose words are beside the program, named either way.
    for (const QString &words : {QString(), programFolder() + QLatin1Char('/')}) {
        wordsFolder = words;
        auto s = start();
        EXPECT_EQ(s->repliesFile(), path("cpu.txt")) << words.toStdString();
        EXPECT_EQ(s->HidCPU().ListCount(), 1);
    }
}
