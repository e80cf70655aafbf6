// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows give a screen reader, as Qt's accessibility layer hands it on: the
// answers on the focused control, the windows' roles, the speed drop-down's label and the
// voices' full names. (tests/onscreen checks the same through a real AT-SPI bus.)
#include "MainWindowFixture.h"

#include "lists/ItemListModel.h"
#include "ui/frmAddeditems.h"
#include "ui/frmFontSize.h"
#include "ui/frmVoice.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::MainWindowTest;
using ::testing::_;
using ::testing::Return;

namespace {

// Each showing of a widget, with its accessible name at that moment: what Qt's bridge
// turns into object:state-changed:showing, after which a screen reader reads the object.
class ShowingsOf : public QObject {
public:
    explicit ShowingsOf(QWidget *widget) : widget_(widget) { widget->installEventFilter(this); }
    QStringList names;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == widget_ && event->type() == QEvent::Show)
            names.append(widget_->accessibleName());
        return false;
    }

private:
    QWidget *widget_;
};

}  // namespace

TEST_F(MainWindowTest, EachAnswerIsShownToAScreenReaderAsANotificationWhileTheFocusStays)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    ASSERT_TRUE(showWithFocusInSay1(*w));
    ASSERT_EQ(QApplication::focusWidget(), w->Say1());

    const QList<QWidget *> notices = w->findChildren<QWidget *>(QStringLiteral("answerNotice"));
    ASSERT_EQ(notices.size(), 1);
    QWidget *notice = notices[0];
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(notice);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Notification);
    ShowingsOf shown(notice);

    say(*w, "hello");
    EXPECT_EQ(shown.names, QStringList{"CPU: Hello"});
    EXPECT_EQ(iface->text(QAccessible::Name), "CPU: Hello");
    // The same answer again is said again; a command's answer is said too; the user's own
    // line never.
    say(*w, "hello");
    say(*w, "[version]");
    const QString versionAnswer = w->transcriptView().text().split(QStringLiteral("\r\n")).last();
    EXPECT_TRUE(versionAnswer.contains(versionNumber())) << versionAnswer.toStdString();
    EXPECT_EQ(shown.names, (QStringList{"CPU: Hello", "CPU: Hello", versionAnswer}));
    EXPECT_EQ(QApplication::focusWidget(), w->Say1());

    // The notice is no control: no focus, nothing to click, nothing drawn over the window.
    EXPECT_EQ(notice->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(notice->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_LE(notice->width() * notice->height(), 1);
}

TEST_F(MainWindowTest, TheOptionWindowsAndTheHelpAreWindowsToAScreenReaderAndTheSpeedIsLabelled)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->showHelp();  // no help file here: only the window matters
    jabbly::testing::writeFile(path("jabbly.chm"), "ITSF");
    w->showHelp();
    ASSERT_NE(w->helpLauncher().window(), nullptr);
    const QList<std::pair<QWidget *, QAccessible::Role>> windows{
        {&w->speechOptions(), QAccessible::Dialog},
        {&w->fontSize(), QAccessible::Dialog},
        {&w->addedItems(), QAccessible::Dialog},
        {w->helpLauncher().window(), QAccessible::Window},
    };
    for (const auto &[window, role] : windows) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(iface, nullptr) << window->objectName().toStdString();
        EXPECT_EQ(iface->role(), role) << window->objectName().toStdString();
        EXPECT_EQ(iface->text(QAccessible::Name), window->windowTitle());
    }

    // Qt names a drop-down by its text on Linux: its label is what a screen reader reads.
    QAccessibleInterface *speed = QAccessible::queryAccessibleInterface(w->speechOptions().cmbSpeed());
    ASSERT_NE(speed, nullptr);
    QStringList labels;
    for (const auto &[label, relation] : speed->relations(QAccessible::Label))
        labels.append(label->text(QAccessible::Name));
    EXPECT_EQ(labels, QStringList{"Speed"});
}

TEST_F(MainWindowTest, EveryVoiceCanBeReadInFullInTheNarrowVoiceList)
{
    auto w = makeWindow();
    const QStringList names{"English (America), male", "English (America), female",
                            "English (Great Britain, Received Pronunciation), female", "Welsh, male"};
    ON_CALL(*tts, Find(_)).WillByDefault(Return(1));
    ON_CALL(*tts, CountEngines()).WillByDefault(Return(int32_t(names.size())));
    ON_CALL(*tts, ModeName(_)).WillByDefault([&names](int32_t mode) { return names.value(mode - 1); });
    ON_CALL(*tts, CurrentMode()).WillByDefault(Return(1));
    ASSERT_TRUE(w->Form_Load());
    frmVoice &voices = w->speechOptions();
    voices.show();
    QListView *view = voices.lstVoicesView();
    EXPECT_EQ(view->width(), 145);  // the design width stays

    ItemListModel &list = voices.lstVoices();
    ASSERT_EQ(list.items(), names);
    for (int row = 0; row < names.size(); ++row) {
        EXPECT_EQ(list.index(row).data(Qt::ToolTipRole).toString(), names[row]);
        EXPECT_EQ(list.index(row).data(Qt::AccessibleTextRole).toString(), names[row]);
    }
    // The list scrolls sideways as far as its longest name reaches.
    const int widest = QFontMetrics(view->font()).horizontalAdvance(names[2]);
    EXPECT_GE(list.horizontalExtent(), widest);
    QCoreApplication::processEvents();
    view->doItemsLayout();
    QScrollBar *sideways = view->horizontalScrollBar();
    EXPECT_TRUE(sideways->isVisibleTo(&voices));
    EXPECT_GE(sideways->maximum() + view->viewport()->width(), widest);
    EXPECT_GE(view->visualRect(list.index(2)).width(), widest);
}
