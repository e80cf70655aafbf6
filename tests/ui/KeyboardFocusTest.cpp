// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's way through the windows: the input line keeps its selection while the
// menu bar or another window has the keyboard; Escape in a menu gives the keyboard back to
// the line at once; Escape in the open speed list closes the list, not the window.
#include "MainWindowFixture.h"

#include "ui/frmVoice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::MainWindowTest;

TEST_F(MainWindowTest, TheInputLineStaysSelectedWhileTheKeyboardIsAway)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    ASSERT_TRUE(showWithFocusInSay1(*w));
    QTest::keyClicks(w->Say1(), "plum");
    QTest::keyClick(w->Say1(), Qt::Key_Return);
    ASSERT_EQ(w->Say1()->selectedText(), "plum");

    // Alt+J: the menu bar takes the keyboard; Escape in the menu gives it straight back.
    QTest::keyClick(w->Say1(), Qt::Key_J, Qt::AltModifier);
    auto *menu = w->findChild<QMenu *>(QStringLiteral("mnuJabbly"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(w->Say1()->hasFocus());
    EXPECT_EQ(w->Say1()->selectedText(), "plum");
    QTest::keyClicks(w->Say1(), "quince");
    EXPECT_EQ(w->Say1()->text(), "quince");

    // A selection made by hand, backwards, comes back as it was.
    w->Say1()->setSelection(5, -3);
    w->menuBar()->setFocus(Qt::MenuBarFocusReason);
    EXPECT_FALSE(w->Say1()->hasSelectedText());
    w->Say1()->setFocus(Qt::MenuBarFocusReason);
    EXPECT_EQ(w->Say1()->selectedText(), "inc");
    EXPECT_EQ(w->Say1()->cursorPosition(), 2);

    // Changed while away: the selection is not brought back over other text.
    w->menuBar()->setFocus(Qt::MenuBarFocusReason);
    w->Say1()->setText("sloe");
    w->Say1()->setFocus(Qt::MenuBarFocusReason);
    EXPECT_FALSE(w->Say1()->hasSelectedText());
}

TEST_F(MainWindowTest, EscapeInTheOpenSpeedListClosesTheListNotTheWindow)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    w->mnuSpeech_Click();
    frmVoice &options = w->speechOptions();
    options.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
    options.cmbSpeed()->setFocus();
    options.cmbSpeed()->showPopup();
    QWidget *list = options.cmbSpeed()->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    QTest::keyClick(list, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(w->speechOptionsLoaded());
    EXPECT_FALSE(list->window()->isVisible());
    EXPECT_TRUE(options.isVisible());

    QTest::keyClick(options.cmbSpeed(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w->speechOptionsLoaded());
}
