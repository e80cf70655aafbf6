// What the windows give a screen reader, as Qt's accessibility layer hands it on: the
// answers on the focused control, the windows' roles, the speed drop-down's label and the
// voices' full names. (tests/onscreen checks the same through a real AT-SPI bus.)
#include "MainWindowFixture.h"

#include "ItemListModel.h"
#include "frmAddeditems.h"
#include "frmFontSize.h"
#include "frmVoice.h"

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

struct ShownNotice {
    QObject *object;
    QAccessible::Role role;
    QString name;
};

QList<ShownNotice> *shownObjects = nullptr;

void recordShownObjects(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::ObjectShow || !shownObjects)
        return;
    QAccessibleInterface *iface = event->accessibleInterface();
    if (iface)
        shownObjects->append({event->object(), iface->role(), iface->text(QAccessible::Name)});
}

// Qt's accessibility switched on, as a screen reader does, with the objects shown recorded
// here instead of going to a bridge.
class ScreenReaderListening {
public:
    ScreenReaderListening()
    {
        shownObjects = &shown;
        previous_ = QAccessible::installUpdateHandler(recordShownObjects);
        QAccessible::setActive(true);
    }
    ~ScreenReaderListening()
    {
        QAccessible::setActive(false);
        QAccessible::installUpdateHandler(previous_);
        shownObjects = nullptr;
    }
    // The notifications shown, by their text.
    QStringList notifications() const
    {
        QStringList out;
        for (const ShownNotice &n : shown)
            if (n.role == QAccessible::Notification)
                out.append(n.name);
        return out;
    }
    QList<ShownNotice> shown;

private:
    QAccessible::UpdateHandler previous_;
};

}  // namespace

TEST_F(MainWindowTest, EachAnswerIsShownToAScreenReaderAsANotificationWhileTheFocusStays)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->Say1()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w->Say1());

    ScreenReaderListening reader;
    say(*w, "hello");
    EXPECT_EQ(reader.notifications(), QStringList{"CPU: Hello"});
    // The same answer again is said again; a command's answer is said too; the user's own
    // line never.
    say(*w, "hello");
    say(*w, "[version]");
    const QString versionAnswer = w->transcriptView().text().split(QStringLiteral("\r\n")).last();
    EXPECT_TRUE(versionAnswer.contains(versionNumber())) << versionAnswer.toStdString();
    EXPECT_EQ(reader.notifications(), (QStringList{"CPU: Hello", "CPU: Hello", versionAnswer}));
    EXPECT_EQ(QApplication::focusWidget(), w->Say1());

    // The notice is no control: no focus, nothing to click, nothing drawn over the window.
    const QList<QWidget *> notices = w->findChildren<QWidget *>(QStringLiteral("answerNotice"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0]->focusPolicy(), Qt::NoFocus);
    EXPECT_LE(notices[0]->width() * notices[0]->height(), 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(notices[0])->role(), QAccessible::Notification);
}

TEST_F(MainWindowTest, TheOptionWindowsAndTheHelpAreWindowsToAScreenReaderAndTheSpeedIsLabelled)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->showHelp();  // no help file here: only the window matters
    writeFile(path("jabbly.chm"), "ITSF");
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
