// The run's start-up and shut-down file steps against a temporary program folder.
#include "Session.h"

#include "FakeFileServices.h"
#include "FakeSessionView.h"
#include "FakeUserMessages.h"
#include "MockSpeechEngine.h"
#include "TestFolder.h"
#include "WithoutRootRights.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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
        return QFileInfo(path).isFile();
    }
    bool failing = false;
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        writeFile(path("cpu.txt"), "Tell me more, \xc2\xa3NAME\xc2\xa3.\r\n");
    }

    QString path(const QString &name) const { return QDir(folder.path()).filePath(name); }

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
        services.dataFolder = folder.path() + QLatin1Char('/');
        services.componentFolder = jabbly::testing::binFolder();
        auto engine = std::make_unique<NiceMock<MockSpeechEngine>>();
        tts = engine.get();
        services.tts = std::move(engine);
        auto check = std::make_unique<FolderFileCheck>();
        check->failing = existenceTestFails;
        services.Tamsin = std::move(check);
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
        EXPECT_TRUE(messages->shown[0].text.startsWith("Cannot find the file '" + path("cpu.txt") +
                                                       "'.  Jabbly needs this file in its own folder in order to run.  "));
        EXPECT_TRUE(messages->shown[0].text.endsWith("/exes/jabbly.php to download the latest version.  Jabbly will now close."));
        s->saveWords();
        s->stopSpeaking();
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("keep\r\nme\r\n"));
}

TEST_F(SessionTest, WordsThatCannotBeSavedAreReportedOnceAndTheOldFileStays)
{
    // A folder in the way of words.txt: the save cannot replace it, whoever runs the test.
    ASSERT_TRUE(QDir(folder.path()).mkpath("words.txt/inside"));
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
