#include "frmJabbly.h"

#include "FakeDesktopServices.h"
#include "FakeMessageBoxes.h"
#include "MockSpeechEngine.h"
#include "TestFolder.h"
#include "WithoutRootRights.h"
#include "frmAddeditems.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::FakeMessageBoxes;
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

// A program folder of its own for each test, and a main window started in it.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        writeFile(path("cpu.txt"), "Tell me more, \xc2\xa3NAME\xc2\xa3.\r\n");
    }

    QString path(const QString &name) const { return QDir(folder.path()).filePath(name); }

    std::unique_ptr<frmJabbly> makeWindow(QStringList arguments = {}, std::unique_ptr<FileCheck> check = nullptr)
    {
        frmJabbly::Setup setup;
        setup.dataFolder = folder.path() + QLatin1Char('/');
        setup.componentFolder = jabbly::testing::binFolder();
        setup.arguments = std::move(arguments);
        auto engine = std::make_unique<NiceMock<MockSpeechEngine>>();
        tts = engine.get();
        setup.tts = std::move(engine);
        setup.Tamsin = check ? std::move(check) : std::make_unique<LocalFileCheck>();
        setup.fileSystem = std::make_unique<LocalFileSystem>();
        auto boxes = std::make_unique<FakeMessageBoxes>();
        messages = boxes.get();
        setup.messages = std::move(boxes);
        return std::make_unique<frmJabbly>(std::move(setup));
    }

    static void say(frmJabbly &w, const QString &line)
    {
        w.Say1()->setText(line);
        w.cmdSay_Click();
    }

    QTemporaryDir folder;
    MockSpeechEngine *tts = nullptr;
    FakeMessageBoxes *messages = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, StartUpLoadsTheFilesSeedsTheWordListAndWritesTheVersionLine)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    EXPECT_EQ(w->HidCPU().items(), QStringList{QStringLiteral("Tell me more, £NAME£.")});
    EXPECT_EQ(w->HidWord().items(), QStringList{"jabbly"});
    EXPECT_EQ(w->transcript().text(), versionLine());
    EXPECT_TRUE(versionLine().startsWith("Jabbly version 2.3.10.  By "));
    EXPECT_EQ(w->Name1()->text(), "Human");
    EXPECT_EQ(w->helpFile(), path("jabbly.chm"));
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(MainWindowTest, CommandLineBecomesTheNameAsOneUntrimmedText)
{
    auto w = makeWindow({"Alice", " of", "Wonderland "});
    ASSERT_TRUE(w->Form_Load());
    EXPECT_EQ(w->Name1()->text(), "Alice  of Wonderland ");
}

TEST_F(MainWindowTest, WordsFileIsReadAtStartAndWrittenSortedAtShutDown)
{
    writeFile(path("words.txt"), "zebra\r\nParis\r\n");
    {
        auto w = makeWindow();
        ASSERT_TRUE(w->Form_Load());
        EXPECT_EQ(w->HidWord().items(), (QStringList{"Paris", "zebra"}));
        say(*w, "I like paris and Cats");
        w->close();
        EXPECT_TRUE(messages->shown.isEmpty());
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("and\r\ncats\r\ni\r\nlike\r\nParis\r\nzebra\r\n"));

    auto again = makeWindow();
    ASSERT_TRUE(again->Form_Load());
    EXPECT_EQ(again->HidWord().ListCount(), 6);
}

TEST_F(MainWindowTest, EmptyOrMissingWordsFileStartsWithTheSeedWordAndIsCreatedAtExit)
{
    writeFile(path("words.txt"), "");
    {
        auto w = makeWindow();
        ASSERT_TRUE(w->Form_Load());
        EXPECT_EQ(w->HidWord().items(), QStringList{"jabbly"});
        w->mnuExit_Click();
        EXPECT_FALSE(w->isVisible());
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("jabbly\r\n"));
}

TEST_F(MainWindowTest, MissingCpuFileTellsTheUserAndEndsTheRunWithoutTouchingWords)
{
    QFile::remove(path("cpu.txt"));
    writeFile(path("words.txt"), "keep\r\nme\r\n");
    auto w = makeWindow();
    EXPECT_FALSE(w->Form_Load());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].kind, "critical");
    EXPECT_EQ(messages->shown[0].title, "cpu.txt Missing");
    EXPECT_TRUE(messages->shown[0].text.startsWith("Cannot find the file '" + path("cpu.txt") +
                                                   "'.  Jabbly needs this file in its own folder in order to run.  "))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(messages->shown[0].text.endsWith(" to download the latest version.  Jabbly will now close."));
    EXPECT_TRUE(messages->shown[0].text.contains("/exes/jabbly.php"));
    EXPECT_FALSE(w->isVisible());
    w->close();
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("keep\r\nme\r\n"));
}

TEST_F(MainWindowTest, WordsThatCannotBeSavedAreReportedAndTheOldFileStays)
{
    // A folder in the way of words.txt: the save cannot replace it, whoever runs the test.
    ASSERT_TRUE(QDir(folder.path()).mkpath("words.txt/inside"));
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    say(*w, "remember this");
    w->close();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].kind, "critical");
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_TRUE(messages->shown[0].text.contains(path("words.txt"))) << messages->shown[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(path("words.txt/inside")).isDir());
}

TEST_F(MainWindowTest, EnterInTheInputBoxRunsATurnAndLeavesTheLineSelected)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->Say1()->setFocus();
    QTest::keyClicks(w->Say1(), "HELLO");
    QTest::keyClick(w->Say1(), Qt::Key_Return);
    EXPECT_EQ(w->transcript().text(), versionLine() + "\r\nHuman: HELLO\r\nCPU: Hello");
    EXPECT_EQ(w->Say1()->text(), "HELLO");
    EXPECT_EQ(w->Say1()->selectedText(), "HELLO");

    QTest::keyClick(w->Name1(), Qt::Key_Return);
    EXPECT_TRUE(w->transcript().text().endsWith("\r\nHuman: HELLO\r\nCPU: Hello\r\nHuman: HELLO\r\nCPU: Hello"));
}

TEST_F(MainWindowTest, OpensAtDesignSizeWithTheInputBoxFocusedAndTheDesignedTabOrder)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(w->windowTitle(), "Jabbly");
    EXPECT_EQ(w->centralWidget()->size(), QSize(482, 350));
    EXPECT_EQ(w->WW()->geometry(), QRect(0, 0, 482, 325));
    EXPECT_EQ(w->Name1()->geometry(), QRect(0, 325, 113, 19));
    EXPECT_EQ(w->Say1()->geometry(), QRect(113, 325, 328, 19));
    EXPECT_EQ(w->cmdSay()->geometry(), QRect(441, 325, 41, 25));
    EXPECT_EQ(QApplication::focusWidget(), w->Say1());
    EXPECT_EQ(w->Say1()->nextInFocusChain(), w->WW());
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_EQ(w->WW()->font().pointSizeF(), 11.25);

    w->resize(600, w->height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->WW()->width(), 600);
    EXPECT_EQ(w->cmdSay()->geometry().right(), 599);
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts)
{
    auto w = makeWindow();
    const QList<std::tuple<const char *, QString, QKeySequence>> expected{
        {"mnuExport", "&Export...", Qt::Key_F2},
        {"mnuClear", "&Clear...", Qt::Key_F3},
        {"mnuFontSize", "&Font and size...", Qt::Key_F11},
        {"mnuAI", "View &words added this session...", Qt::Key_F12},
        {"mnuSpeech", "Show &Speech Options...", Qt::Key_F9},
        {"mnuExit", "&Exit", Qt::Key_F4},
        {"mnuContents", "&Contents", QKeySequence()},
        {"mnuSF", "&Send feedback...", Qt::Key_F5},
        {"mnuAbout", "&About...", Qt::Key_F6},
    };
    for (const auto &[name, caption, shortcut] : expected) {
        QAction *a = w->action(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), caption) << name;
        EXPECT_EQ(a->shortcut(), shortcut) << name;
    }
}

TEST_F(MainWindowTest, ClearAsksFirstAndThenLeavesOnlyTheVersionLine)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    say(*w, "hello");
    const QString before = w->transcript().text();

    messages->answerYes = false;
    w->mnuClear_Click();
    EXPECT_EQ(w->transcript().text(), before);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Text Clear");
    EXPECT_EQ(messages->shown[0].text, "Are you sure you want to clear the text?");

    messages->answerYes = true;
    w->mnuClear_Click();
    EXPECT_EQ(w->transcript().text(), versionLine());
    say(*w, "bye");
    EXPECT_EQ(w->transcript().text(), versionLine() + "\r\nHuman: bye\r\nCPU: See you later.");
    EXPECT_EQ(w->HidWord().items(), QStringList{"jabbly"});
}

TEST_F(MainWindowTest, ExitCommandClosesTheWindowAfterSavingTheWords)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    say(*w, "pineapple");
    EXPECT_CALL(*tts, StopSpeaking()).Times(1);
    say(*w, "[EXIT]");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("jabbly\r\npineapple\r\n"));
}

TEST_F(MainWindowTest, WordsAddedWindowLoadsHiddenAtTheFirstNewWordAndForgetsWhenClosed)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    EXPECT_FALSE(w->addedItemsLoaded());
    say(*w, "hello");
    EXPECT_FALSE(w->addedItemsLoaded());

    say(*w, "zebras eat grass");
    ASSERT_TRUE(w->addedItemsLoaded());
    EXPECT_FALSE(w->addedItems().isVisible());
    EXPECT_EQ(w->addedItems().lstAI().items(), (QStringList{"eat", "grass", "zebras"}));
    EXPECT_EQ(w->addedItems().windowTitle(), "Words Added This Session");

    w->mnuAI_Click();
    EXPECT_TRUE(w->addedItems().isVisible());
    EXPECT_EQ(w->action("mnuAI")->text(), "Hide &words list");
    w->addedItems().resize(200, 150);
    EXPECT_EQ(w->addedItems().view()->geometry(), QRect(0, 0, 200, 150));

    w->addedItems().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w->addedItemsLoaded());
    EXPECT_EQ(w->action("mnuAI")->text(), "Hide &words list");

    say(*w, "grass moon");
    EXPECT_EQ(w->addedItems().lstAI().items(), QStringList{"moon"});
    w->mnuAI_Click();
    EXPECT_TRUE(w->addedItems().isVisible());
    w->mnuAI_Click();
    EXPECT_FALSE(w->addedItems().isVisible());
    EXPECT_EQ(w->action("mnuAI")->text(), "View &words added this session...");
}

TEST_F(MainWindowTest, AWordsFileThatCouldNotBeReadIsNeverReplaced)
{
    // words.txt is there but may not be read: start-up goes on with the seed word, and
    // shut-down leaves the file alone instead of writing the seed word over it.
    writeFile(path("words.txt"), "precious\r\nwords\r\n");
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder.path(), everyone));
    ASSERT_TRUE(QFile::setPermissions(path("cpu.txt"), QFileDevice::ReadOwner | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(path("words.txt"), QFileDevice::WriteOwner));

    auto w = makeWindow();
    {
        jabbly::testing::WithoutRootRights nobody;
        ASSERT_TRUE(nobody.ok());
        ASSERT_TRUE(w->Form_Load());
    }
    EXPECT_EQ(w->HidCPU().ListCount(), 1);
    EXPECT_EQ(w->HidWord().items(), QStringList{"jabbly"});
    say(*w, "new words");
    w->close();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Words Not Saved");
    EXPECT_TRUE(messages->shown[0].text.contains(path("words.txt")));
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("precious\r\nwords\r\n"));
}

TEST_F(MainWindowTest, AFailingExistenceTestStillTriesTheLoads)
{
    writeFile(path("words.txt"), "apple\r\nbanana\r\n");
    auto check = std::make_unique<jabbly::testing::FakeFileCheck>();
    check->failure = Error(err::PathFileAccess, "cannot ask");
    auto w = makeWindow({}, std::move(check));
    ASSERT_TRUE(w->Form_Load());
    EXPECT_EQ(w->HidCPU().ListCount(), 1);
    EXPECT_EQ(w->HidWord().items(), (QStringList{"apple", "banana"}));
    w->close();
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("apple\r\nbanana\r\n"));
}
