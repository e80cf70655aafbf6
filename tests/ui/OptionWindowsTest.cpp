// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The speech options and font windows as the main window loads, shows and unloads them,
// and the turn spoken as their switches say.
#include "MainWindowFixture.h"

#include "lists/ItemListModel.h"
#include "ui/frmAddeditems.h"
#include "ui/frmFontSize.h"
#include "ui/frmVoice.h"

#include <QAction>
#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QListView>
#include <QTextBlock>
#include <QTest>
#include <QTextEdit>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::MainWindowTest;
using ::testing::_;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::Throw;

namespace {

// Every character of the transcript's text with its colour, family and point size.
struct TextRun {
    QColor colour;
    QString family;
    double points;
    bool bold;
    bool italic;
};

QList<TextRun> runs(const QTextEdit &edit)
{
    QList<TextRun> out;
    for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            // The font the run is drawn in.
            const QFont font = f.font().resolve(edit.document()->defaultFont());
            out.append({f.foreground().color(), font.family(), font.pointSizeF(), font.bold(), font.italic()});
        }
    }
    return out;
}

// An engine with three voices, of which the preferred one is the second.
void giveThreeVoices(jabbly::testing::MockSpeechEngine &tts)
{
    ON_CALL(tts, Find(_)).WillByDefault(Return(2));
    ON_CALL(tts, CountEngines()).WillByDefault(Return(3));
    ON_CALL(tts, ModeName(_)).WillByDefault([](int32_t mode) {
        return QStringList{"Anna", "Mary", "Paul"}.value(mode - 1);
    });
    ON_CALL(tts, CurrentMode()).WillByDefault(Return(2));
}

}  // namespace

TEST_F(MainWindowTest, TheSwitchesAreReadAsStoredAndWrittenAtEveryShutDown)
{
    struct Case {
        const char *speak;  // nullptr: never stored
        const char *sayNames;
        bool speakOn, namesOn;
    };
    const Case cases[] = {
        {nullptr, nullptr, false, false}, {"1", "0", true, false},   {"1", "1", true, true},
        {nullptr, "1", false, false},     {"2", "1", false, true},   {"-1", "1", false, true},
        {"yes", "1", false, false},       {" 1 ", "x", true, false},
    };
    for (const Case &c : cases) {
        settingsStored.clear();
        if (c.speak)
            settingsStored.insert("Jabbly/Speak", c.speak);
        if (c.sayNames)
            settingsStored.insert("Jabbly/SayNames", c.sayNames);
        auto w = makeWindow();
        EXPECT_CALL(*tts, setSpeed(150)).Times(1);
        ASSERT_TRUE(w->Form_Load());
        ASSERT_TRUE(w->speechOptionsLoaded());
        EXPECT_FALSE(w->speechOptions().isVisible());
        EXPECT_EQ(w->speechOptions().chkSpeak()->isChecked(), c.speakOn) << c.speak << "/" << c.sayNames;
        EXPECT_EQ(w->speechOptions().chkNames()->isChecked(), c.namesOn) << c.speak << "/" << c.sayNames;
        EXPECT_EQ(w->speechOptions().cmbSpeed()->currentText(), "150");
        EXPECT_EQ(w->speechOptions().cmbSpeed()->count(), 201);
        ASSERT_EQ(comboTool->calls.size(), 1);
        EXPECT_EQ(comboTool->calls[0].height, 500);

        // Never shown, still written when the run ends.
        w->speechOptions().chkNames()->setChecked(!c.namesOn);
        w->close();
        EXPECT_EQ(settingsStored.value("Jabbly/Speak"), c.speakOn ? "1" : "0");
        EXPECT_EQ(settingsStored.value("Jabbly/SayNames"), c.namesOn ? "0" : "1");
    }

    // A run that ends for want of cpu.txt writes them too.
    QFile::remove(path("cpu.txt"));
    settingsStored = {{"Jabbly/Speak", "1"}};
    auto w = makeWindow();
    EXPECT_FALSE(w->Form_Load());
    EXPECT_EQ(settingsStored.value("Jabbly/Speak"), "1");
    EXPECT_EQ(settingsStored.value("Jabbly/SayNames"), "0");
}

TEST_F(MainWindowTest, VoicesAreListedAtStartUpAndAgainAfterTheCloseBoxWithSpeed150)
{
    auto w = makeWindow();
    giveThreeVoices(*tts);
    {
        InSequence order;
        EXPECT_CALL(*tts, setSpeed(150));
        EXPECT_CALL(*tts, Find(QString("Mfg=Microsoft;Gender=1")));
        EXPECT_CALL(*tts, Select(2));
        EXPECT_CALL(*tts, setCurrentMode(2));
    }
    ASSERT_TRUE(w->Form_Load());
    EXPECT_EQ(w->speechOptions().lstVoices().items(), (QStringList{"Anna", "Mary", "Paul"}));
    EXPECT_EQ(w->speechOptions().lstVoices().ListIndex(), 1);

    // The user picks a slower speed and another voice, hides and shows the window: kept.
    ::testing::Mock::VerifyAndClearExpectations(tts);
    giveThreeVoices(*tts);
    EXPECT_CALL(*tts, setSpeed(120));
    EXPECT_CALL(*tts, setCurrentMode(3));
    w->speechOptions().cmbSpeed()->setCurrentIndex(70);
    Q_EMIT w->speechOptions().cmbSpeed()->activated(70);  // as the user's choice does
    w->speechOptions().lstVoicesView()->setCurrentIndex(w->speechOptions().lstVoices().index(2));
    w->mnuSpeech_Click();
    EXPECT_TRUE(w->speechOptions().isVisible());
    EXPECT_EQ(w->action("mnuSpeech")->text(), "Hide &Speech Options");
    w->mnuSpeech_Click();
    EXPECT_FALSE(w->speechOptions().isVisible());
    EXPECT_EQ(w->action("mnuSpeech")->text(), "Show &Speech Options...");
    EXPECT_EQ(w->speechOptions().cmbSpeed()->currentText(), "120");

    // Closed with its close box while shown: the caption stays, the next click loads it
    // again with the engine's voices, the current one selected, and speed 150.
    ::testing::Mock::VerifyAndClearExpectations(tts);
    giveThreeVoices(*tts);
    w->mnuSpeech_Click();
    w->speechOptions().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w->speechOptionsLoaded());
    EXPECT_EQ(w->action("mnuSpeech")->text(), "Hide &Speech Options");
    EXPECT_CALL(*tts, setSpeed(150));
    EXPECT_CALL(*tts, setCurrentMode(2));
    w->mnuSpeech_Click();
    EXPECT_TRUE(w->speechOptions().isVisible());
    EXPECT_EQ(w->action("mnuSpeech")->text(), "Hide &Speech Options");
    EXPECT_EQ(w->speechOptions().lstVoices().items(), (QStringList{"Anna", "Mary", "Paul"}));
    EXPECT_EQ(w->speechOptions().lstVoices().ListIndex(), 1);
    EXPECT_EQ(w->speechOptions().cmbSpeed()->currentText(), "150");
}

TEST_F(MainWindowTest, AVoiceTheEngineRefusesIsToldByItsOwnName)
{
    auto w = makeWindow();
    giveThreeVoices(*tts);
    ASSERT_TRUE(w->Form_Load());
    EXPECT_CALL(*tts, setCurrentMode(1)).WillOnce(Throw(Error(err::InvalidPropertyValue, "refused")));
    w->speechOptions().lstVoicesView()->setCurrentIndex(w->speechOptions().lstVoices().index(0));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].kind, "critical");
    EXPECT_EQ(messages->shown[0].title, "Voice Error");
    EXPECT_EQ(messages->shown[0].text, "The voice 'Anna' is invalid");
    EXPECT_EQ(w->speechOptions().lstVoices().ListIndex(), 0);
}

TEST_F(MainWindowTest, TurnsAreSpokenAsTheSwitchesSayAndTheFilteredLineIsLearnedOnlyWithNamesOff)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    frmVoice &options = w->speechOptions();

    // Speak off: nothing spoken, the line learned as typed.
    EXPECT_CALL(*tts, Speak(_)).Times(0);
    say(*w, "2^3");
    EXPECT_NE(w->session().HidWord().FindStringExact("2^3"), -1);
    ::testing::Mock::VerifyAndClearExpectations(tts);

    // Speak on, names off: the filtered line is what the turn learns; "Hello." is said.
    options.chkSpeak()->setChecked(true);
    {
        InSequence order;
        EXPECT_CALL(*tts, Speak(QString("5carat7")));
        EXPECT_CALL(*tts, Speak(_));
        EXPECT_CALL(*tts, Speak(QString("HELLO")));
        EXPECT_CALL(*tts, Speak(QString("Hello.")));
        EXPECT_CALL(*tts, Speak(QString("[time]")));
    }
    say(*w, "5^7");
    say(*w, "HELLO");
    say(*w, "[time]");
    EXPECT_NE(w->session().HidWord().FindStringExact("5carat7"), -1);
    EXPECT_EQ(w->session().HidWord().FindStringExact("5^7"), -1);
    EXPECT_TRUE(w->transcriptView().text().contains("\r\nHuman: 5^7\r\n"));
    ::testing::Mock::VerifyAndClearExpectations(tts);

    // Names on: the labels are said, and the line is learned as typed.
    options.chkNames()->setChecked(true);
    {
        InSequence order;
        EXPECT_CALL(*tts, Speak(QString("Human: 6carat8")));  // said filtered, learned as typed
        EXPECT_CALL(*tts, Speak(QString("CPU: Tell me more, Human.")));
    }
    say(*w, "6^8");
    EXPECT_NE(w->session().HidWord().FindStringExact("6^8"), -1);
    ::testing::Mock::VerifyAndClearExpectations(tts);

    // A failing output is told once, then not again until speech works.
    EXPECT_CALL(*tts, Speak(_)).WillRepeatedly(Throw(Error(68, "no sound device")));
    say(*w, "bye");
    say(*w, "bye");
    EXPECT_EQ(w->transcriptView().text().count("no sound device"), 1);
}

TEST_F(MainWindowTest, FontAndSizeApplyToTheWholeTranscriptKeepingColoursAndToLaterLines)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    say(*w, "hello");
    ASSERT_FALSE(w->fontSizeLoaded());

    w->mnuFontSize_Click();
    frmFontSize &fonts = w->fontSize();
    EXPECT_TRUE(fonts.isVisible());
    EXPECT_EQ(w->action("mnuFontSize")->text(), "Hide &Font and size");
    EXPECT_EQ(fonts.windowTitle(), "Font and Size");
    EXPECT_EQ(fonts.lstSize().ListCount(), 500);
    EXPECT_EQ(fonts.lstSize().List(0), "1");
    EXPECT_EQ(fonts.lstSize().List(499), "500");
    EXPECT_EQ(fonts.lstSize().ListIndex(), 10);
    EXPECT_EQ(fonts.lstFont().ListIndex(), -1);
    EXPECT_GT(fonts.lstFont().ListCount(), 0);
    EXPECT_EQ(fonts.lstFont().FindStringExact(QString()), -1);
    const QString familyBefore = runs(*w->WW()).value(0).family;
    for (const TextRun &r : runs(*w->WW()))
        EXPECT_EQ(r.points, 11);
    // The list getting the keyboard focus chooses no font.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(fonts.lstFontView(), &focusIn);
    EXPECT_EQ(fonts.lstFont().ListIndex(), -1);
    EXPECT_EQ(runs(*w->WW()).value(0).family, familyBefore);

    const QString family = fonts.lstFont().List(fonts.lstFont().ListCount() - 1);
    QFont boldItalic = w->Name1()->font();
    boldItalic.setBold(true);
    boldItalic.setItalic(true);
    w->Name1()->setFont(boldItalic);
    fonts.lstFontView()->setCurrentIndex(fonts.lstFont().index(fonts.lstFont().ListCount() - 1));
    fonts.lstSizeView()->setCurrentIndex(fonts.lstSize().index(499));
    say(*w, "bye");

    const QList<TextRun> all = runs(*w->WW());
    ASSERT_GE(all.size(), 7);
    QSet<QRgb> colours;
    for (const TextRun &r : all) {
        colours.insert(r.colour.rgb());
        EXPECT_EQ(r.family, family);
        EXPECT_EQ(r.points, 500);
        EXPECT_FALSE(r.bold || r.italic);
    }
    EXPECT_EQ(colours.size(), 4);  // teal, blue, red and green all kept
    EXPECT_EQ(w->Name1()->font().family(), family);
    EXPECT_FALSE(w->Name1()->font().bold() || w->Name1()->font().italic());
    EXPECT_EQ(w->Say1()->font().family(), family);

    fonts.resize(100, 80);
    EXPECT_EQ(fonts.lstFontView()->geometry(), QRect(0, 0, 80, 80));
    EXPECT_EQ(fonts.lstSizeView()->geometry(), QRect(80, 0, 20, 80));

    w->mnuFontSize_Click();
    EXPECT_FALSE(fonts.isVisible());
    EXPECT_EQ(w->action("mnuFontSize")->text(), "&Font and size...");
}

TEST_F(MainWindowTest, EveryControlIsNamedForScreenReadersAndEveryWindowClosesFromTheKeyboard)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    say(*w, "new words");
    w->show();
    w->mnuSpeech_Click();
    w->mnuFontSize_Click();
    w->mnuAI_Click();
    const QList<QWidget *> windows{w.get(), static_cast<QWidget *>(&w->speechOptions()),
                                   static_cast<QWidget *>(&w->fontSize()), static_cast<QWidget *>(&w->addedItems())};
    for (QWidget *window : windows) {
        EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
        for (QWidget *control : window->findChildren<QWidget *>()) {
            if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(window) || control->isWindow())
                continue;
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
            EXPECT_FALSE(control->accessibleDescription().isEmpty()) << control->objectName().toStdString();
        }
    }
    for (QWidget *window : windows.mid(1)) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
        QTest::keyClick(window, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_FALSE(w->speechOptionsLoaded());
    EXPECT_FALSE(w->fontSizeLoaded());
    EXPECT_FALSE(w->addedItemsLoaded());
}
