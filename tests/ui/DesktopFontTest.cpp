// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows under the desktop's font: at the standard font the design sizes stand; under
// a large one (or when the font grows while the program runs) every button, check box and
// drop-down list is at least as large as the style wants it, so no caption or speed is
// cut off, and the controls still stand apart inside their windows.
#include "MainWindowFixture.h"

#include "ui/CaptionFit.h"
#include "ui/frmVoice.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::MainWindowTest;

namespace {

void expectAtLeastItsSizeHint(const QWidget &control)
{
    EXPECT_GE(control.width(), control.sizeHint().width()) << control.objectName().toStdString();
    EXPECT_GE(control.height(), control.sizeHint().height()) << control.objectName().toStdString();
}

void expectApartInside(const QWidget &window, const QList<const QWidget *> &controls)
{
    for (qsizetype i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(window.rect().contains(controls[i]->geometry())) << controls[i]->objectName().toStdString();
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and " << controls[j]->objectName().toStdString();
    }
}

}  // namespace

TEST_F(MainWindowTest, CaptionsShowWholeAtTheStandardFontAndAtALargeOne)
{
    const QFont standard = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(standard); });
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->mnuSpeech_Click();
    frmVoice &options = w->speechOptions();
    const QList<const QWidget *> optionControls{options.lstVoicesView(), options.chkSpeak(), options.cmbSpeed(),
                                                options.chkNames()};

    // The standard font: the design sizes, in pixels (twips / 15).
    EXPECT_EQ(w->cmdSay()->size(), QSize(41, 25));
    EXPECT_EQ(options.size(), QSize(145, 298));
    EXPECT_EQ(options.cmbSpeed()->geometry(), QRect(72, 256, 73, 21));
    EXPECT_TRUE(captionFits(*w->cmdSay()));
    EXPECT_TRUE(captionFits(*options.cmbSpeed()));
    expectAtLeastItsSizeHint(*options.chkSpeak());
    expectAtLeastItsSizeHint(*options.chkNames());
    expectApartInside(options, optionControls);

    // The desktop's font grows to 22 points while the program runs.
    QFont large = standard;
    large.setPointSize(22);
    QApplication::setFont(large);
    QCoreApplication::processEvents();
    for (const QWidget *control :
         {static_cast<const QWidget *>(w->cmdSay()), optionControls[1], optionControls[2], optionControls[3]})
        expectAtLeastItsSizeHint(*control);
    expectApartInside(options, optionControls);
    EXPECT_GT(options.width(), 145);
    EXPECT_GT(options.height(), 298);
    // The main window keeps its rule: the button at the right end of the bottom row, the
    // text boxes at the row's top, the transcript above it; the transcript and the text
    // boxes keep their own font.
    const QWidget *client = w->centralWidget();
    EXPECT_EQ(w->cmdSay()->geometry().right(), client->width() - 1);
    EXPECT_EQ(w->cmdSay()->geometry().bottom(), client->height() - 1);
    EXPECT_EQ(w->Say1()->y(), w->cmdSay()->y());
    EXPECT_EQ(w->WW()->height(), w->cmdSay()->y());
    EXPECT_EQ(w->Say1()->geometry().right() + 1, w->cmdSay()->x());
    EXPECT_EQ(w->Say1()->height(), 19);
    EXPECT_DOUBLE_EQ(w->WW()->font().pointSizeF(), 11.25);
    EXPECT_DOUBLE_EQ(w->Say1()->font().pointSizeF(), 11.25);

    // Back to the standard font: back to the design.
    QApplication::setFont(standard);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->cmdSay()->size(), QSize(41, 25));
    EXPECT_EQ(options.size(), QSize(145, 298));
}

TEST(CaptionFit, ShownCaptionDropsTheAccessKeyMarks)
{
    EXPECT_EQ(shownCaption("&Say"), "Say");
    EXPECT_EQ(shownCaption("Say &names"), "Say names");
    EXPECT_EQ(shownCaption("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(shownCaption("trailing&"), "trailing");
}
