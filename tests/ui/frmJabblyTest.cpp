// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"

#include "ui/frmAddeditems.h"
#include "jabbly/icons.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::MainWindowTest;
using jabbly::testing::readFile;

TEST_F(MainWindowTest, StartUpShowsTheVersionLineAndTheNameAndShutDownSavesTheWords)
{
    {
        auto w = makeWindow({"-reverse", " of", "Wonderland "});
        ASSERT_TRUE(w->Form_Load());
        EXPECT_EQ(w->transcriptView().text(), versionLine());
        EXPECT_TRUE(versionLine().startsWith("Jabbly version 2.3.10.  By "));
        EXPECT_EQ(w->Name1()->text(), "-reverse  of Wonderland ");
        EXPECT_EQ(w->helpFile(), path("jabbly.chm"));
        say(*w, "pineapple");
        EXPECT_CALL(*tts, StopSpeaking()).Times(1);
        say(*w, "[EXIT]");
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(messages->shown.isEmpty());
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("jabbly\r\npineapple\r\n"));
}

TEST_F(MainWindowTest, TheStepsNobodySeesFollowTheFirstPaintAndEveryCommandWaitsForThem)
{
    jabbly::testing::writeFile(path("words.txt"), "zebra\r\n");
    QList<QSize> small, all;
    for (const int size : jabbly::icons::Sizes) {
        all.append(QSize(size, size));
        if (size <= 48)
            small.append(QSize(size, size));
    }
    {
        // Shown: the version line, the name and the icon are there from the first frame.
        auto w = makeWindow({"Alice"});
        ASSERT_TRUE(w->loadBeforeShow());
        EXPECT_EQ(w->transcriptView().text(), versionLine());
        EXPECT_EQ(w->Name1()->text(), "Alice");
        EXPECT_EQ(w->windowIcon().availableSizes(), small);
        EXPECT_FALSE(w->loadFinished());
        EXPECT_FALSE(w->speechOptionsLoaded());
        EXPECT_EQ(w->session().HidWord().ListCount(), 0);

        // The rest follows the first paint, without anything else happening.
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->loadFinished(); }, 5000));
        EXPECT_TRUE(w->speechOptionsLoaded());
        EXPECT_EQ(w->session().HidWord().List(0), "zebra");
        EXPECT_EQ(w->windowIcon().availableSizes(), all);
        EXPECT_EQ(w->transcriptView().text(), versionLine());
    }
    {
        // A line said before that: the turn knows the words of words.txt, and the seed word
        // is not added to a list that had words.
        auto w = makeWindow();
        ASSERT_TRUE(w->loadBeforeShow());
        say(*w, "zebra");
        EXPECT_TRUE(w->loadFinished());
        EXPECT_EQ(w->session().HidWord().ListCount(), 1);
        EXPECT_FALSE(w->addedItemsLoaded());  // nothing new learned
    }
    {
        // A window closed before its first paint still ends as a started run.
        auto w = makeWindow();
        ASSERT_TRUE(w->loadBeforeShow());
        w->close();
        EXPECT_TRUE(w->loadFinished());
        EXPECT_TRUE(settingsStored.contains("Jabbly/Speak"));  // the speech options window was loaded
        EXPECT_TRUE(settingsStored.contains("Jabbly/SayNames"));
    }
    EXPECT_EQ(readFile(path("words.txt")), QByteArray("zebra\r\n"));
}

TEST_F(MainWindowTest, MissingCpuFileEndsTheRunBeforeTheWindowIsShown)
{
    QFile::remove(path("cpu.txt"));
    auto w = makeWindow();
    EXPECT_FALSE(w->Form_Load());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "cpu.txt Missing");
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(QFile::exists(path("words.txt")));
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
    EXPECT_EQ(w->transcriptView().text(), versionLine() + "\r\nHuman: HELLO\r\nCPU: Hello");
    EXPECT_EQ(w->Say1()->text(), "HELLO");
    EXPECT_EQ(w->Say1()->selectedText(), "HELLO");

    QTest::keyClick(w->Name1(), Qt::Key_Return);
    EXPECT_TRUE(w->transcriptView().text().endsWith("\r\nHuman: HELLO\r\nCPU: Hello\r\nHuman: HELLO\r\nCPU: Hello"));
}

TEST_F(MainWindowTest, OpensAtDesignSizeWithItsIconTheInputBoxFocusedAndTheDesignedTabOrder)
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
    EXPECT_EQ(w->WW()->font().pointSizeF(), 11.25);
    // A QIcon made from a missing file is not null: ask for real pixels.
    QList<QSize> sizes;
    for (const int size : jabbly::icons::Sizes)
        sizes.append(QSize(size, size));
    EXPECT_EQ(w->windowIcon().availableSizes(), sizes);
    EXPECT_FALSE(w->windowIcon().pixmap(32, 32).toImage().isNull());

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
    const QString before = w->transcriptView().text();

    messages->answerYes = false;
    w->mnuClear_Click();
    EXPECT_EQ(w->transcriptView().text(), before);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].title, "Text Clear");
    EXPECT_EQ(messages->shown[0].text, "Are you sure you want to clear the text?");

    messages->answerYes = true;
    w->mnuClear_Click();
    EXPECT_EQ(w->transcriptView().text(), versionLine());
    say(*w, "bye");
    EXPECT_EQ(w->transcriptView().text(), versionLine() + "\r\nHuman: bye\r\nCPU: See you later.");
    EXPECT_EQ(w->session().HidWord().items(), QStringList{"jabbly"});
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

TEST_F(MainWindowTest, TheWordsAddedWindowKeepsItsHighlightedWordWhileWordsAreLearned)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    say(*w, "kiwi mango");
    w->mnuAI_Click();
    QListView *view = w->addedItems().view();
    ItemListModel &lstAI = w->addedItems().lstAI();
    view->setCurrentIndex(lstAI.index(1));
    ASSERT_EQ(lstAI.Text(), "mango");

    // New words before, between and after the known ones, in one line.
    say(*w, "apple lime zucchini banana mango");
    EXPECT_EQ(lstAI.items(), (QStringList{"apple", "banana", "kiwi", "lime", "mango", "zucchini"}));
    EXPECT_EQ(lstAI.Text(), "mango");
    EXPECT_EQ(view->currentIndex().data().toString(), "mango");
    EXPECT_EQ(view->selectionModel()->selectedRows().value(0).data().toString(), "mango");
}

TEST_F(MainWindowTest, FunctionKeysRunTheirCommandWhileAMenuIsOpen)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    for (const char *menuName : {"mnuJabbly", "mnuHelp"}) {
        auto *menu = w->findChild<QMenu *>(QLatin1String(menuName));
        ASSERT_NE(menu, nullptr);
        menu->popup(w->mapToGlobal(QPoint(10, 10)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        messages->shown.clear();
        QTest::keyClick(menu, Qt::Key_F3);  // Clear asks first
        QCoreApplication::processEvents();
        EXPECT_FALSE(menu->isVisible()) << menuName;
        ASSERT_EQ(messages->shown.size(), 1) << menuName;
        EXPECT_EQ(messages->shown[0].title, "Text Clear");
    }
}

TEST_F(MainWindowTest, TextBoxesStayBlackOnWhiteUnderADarkThemeAndTakeOneLine)
{
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    auto w = makeWindow();
    QApplication::setPalette(before);
    for (QWidget *box :
         {static_cast<QWidget *>(w->WW()), static_cast<QWidget *>(w->Name1()), static_cast<QWidget *>(w->Say1())}) {
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::white)) << box->objectName().toStdString();
        EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::black)) << box->objectName().toStdString();
    }

    // A pasted text with line breaks of every kind becomes one line, one blank per break.
    ASSERT_TRUE(w->Form_Load());
    w->Say1()->setText("a");
    w->Say1()->end(false);
    w->Say1()->insert(QString("b\r\nc\rd\ne") + QChar(0x2028) + "f" + QChar(0x2029) + "g\n\n");
    EXPECT_EQ(w->Say1()->text(), "ab c d e f g  ");
    EXPECT_EQ(w->Say1()->cursorPosition(), w->Say1()->text().size());
    w->Name1()->setText("Ann\r\nLee");
    EXPECT_EQ(w->Name1()->text(), "Ann Lee");
    w->cmdSay_Click();
    EXPECT_TRUE(w->transcriptView().text().endsWith("\r\nAnn Lee: ab c d e f g  \r\nCPU: Tell me more, Ann Lee."))
        << w->transcriptView().text().toStdString();
    EXPECT_EQ(w->session().HidWord().items(), (QStringList{"ab", "c", "d", "e", "f", "g", "jabbly"}));
}

TEST_F(MainWindowTest, StructureCharactersInTheLineStayOneLineAndALongNameIsKeptWhole)
{
    // Characters the transcript's document takes for structure (frame markers, an
    // object's place) or for breaks fold into blanks like the line breaks do, so that the
    // echo and the reply that quotes a word stay one line each.
    const QString name(40000, u'n');  // past a line edit's default length of 32,767
    auto w = makeWindow({name});
    ASSERT_TRUE(w->Form_Load());
    EXPECT_EQ(w->Name1()->text(), name);
    w->Say1()->setText(QString("a") + QChar(0xFDD0) + "b" + QChar(0xFDD1) + "c" + QChar(0xFFFC) + "d\ve\ff" +
                       QChar(0x0085) + "g");
    EXPECT_EQ(w->Say1()->text(), "a b c d e f g");
    w->Name1()->setText(QString("Ann") + QChar(0xFDD1) + "Lee");
    w->cmdSay_Click();
    const QString text = w->transcriptView().text();
    EXPECT_TRUE(text.endsWith("\r\nAnn Lee: a b c d e f g\r\nCPU: Tell me more, Ann Lee.")) << text.toStdString();
    EXPECT_EQ(text.count("\r\n"), 2);
}
