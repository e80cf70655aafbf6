// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Export, help, Send feedback and About, from the main window's menu and keys.
#include "MainWindowFixture.h"

#include "session/AboutText.h"
#include "ui/HelpWindow.h"
#include "ui/TranscriptExport.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>

#include "ErrorNumber.h"
#include "QtPrinters.h"
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include <sys/resource.h>

using namespace jabbly;
using jabbly::testing::MainWindowTest;
using jabbly::testing::readFile;
using jabbly::testing::writeFile;

TEST_F(MainWindowTest, ExportWritesTheChosenNameAsIsAndLeavesAReadOnlyFileAlone)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    say(*w, "{\\rtf1 \\par} caf\u00e9");

    saveDialog->answer.clear();  // cancelled
    w->mnuExport_Click();
    EXPECT_EQ(QDir(folder.path()).entryList({"*.rtf"}), QStringList{});

    saveDialog->answer = path("talk");
    w->mnuExport_Click();
    const QByteArray rtf = readFile(path("talk"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.left(40).toStdString();
    EXPECT_TRUE(rtf.contains("\\{\\\\rtf1 \\\\par\\}")) << rtf.toStdString();
    EXPECT_FALSE(QFile::exists(path("talk.rtf")));
    EXPECT_TRUE(messages->shown.isEmpty());

    writeFile(path("locked.rtf"), "old");
    ASSERT_TRUE(QFile::setPermissions(path("locked.rtf"), QFileDevice::ReadOwner | QFileDevice::ReadOther));
    saveDialog->answer = path("locked.rtf");
    w->mnuExport_Click();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].kind, "critical");
    EXPECT_EQ(messages->shown[0].title, "Export Error");
    EXPECT_EQ(messages->shown[0].text, exportErrorText());
    EXPECT_EQ(readFile(path("locked.rtf")), "old");
}

namespace {

// Files this process writes may not grow past `bytes` for the scope: a write beyond fails
// as on a full disk, whoever runs the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = old_;
        capped.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, EveryOtherExportFailureIsToldWithItsReasonAndTheOldFileStays)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    for (int i = 0; i < 200; ++i)
        say(*w, QStringLiteral("a line long enough to fill a small disk, number %1").arg(i));

    // A folder that is not there.
    saveDialog->answer = path("gone/talk.rtf");
    w->mnuExport_Click();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].kind, "critical");
    EXPECT_EQ(messages->shown[0].title, "Export Error");
    EXPECT_NE(messages->shown[0].text, exportErrorText());
    EXPECT_TRUE(messages->shown[0].text.contains(path("gone/talk.rtf"))) << messages->shown[0].text.toStdString();
    EXPECT_TRUE(messages->shown[0].text.contains(jabbly::testing::systemErrorText(ENOENT)))
        << messages->shown[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("gone")));

    // A full disk: the old export is kept as it was.
    writeFile(path("talk.rtf"), "old export");
    saveDialog->answer = path("talk.rtf");
    {
        FileSizeLimit limit(1024);
        w->mnuExport_Click();
    }
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[1].kind, "critical");
    EXPECT_EQ(messages->shown[1].title, "Export Error");
    EXPECT_TRUE(messages->shown[1].text.contains(path("talk.rtf"))) << messages->shown[1].text.toStdString();
    EXPECT_TRUE(messages->shown[1].text.contains("disk is full")) << messages->shown[1].text.toStdString();
    EXPECT_EQ(readFile(path("talk.rtf")), "old export");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"cpu.txt", "talk.rtf"}));
}

TEST_F(MainWindowTest, F1AndContentsOpenTheSameHelpAndAMissingFileIsNamed)
{
    hasChmViewer = true;
    writeFile(path("jabbly.chm"), "ITSF");
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->show();
    QTest::keyClick(w->Say1(), Qt::Key_F1);
    w->mnuContents_Click();
    QCoreApplication::processEvents();
    ASSERT_EQ(helpOpened.size(), 2);
    EXPECT_EQ(helpOpened[0], QUrl::fromLocalFile(path("jabbly.chm")));
    EXPECT_EQ(helpOpened[1], helpOpened[0]);

    // Without a viewer for help files the program shows the pages itself.
    hasChmViewer = false;
    auto plain = makeWindow();
    ASSERT_TRUE(plain->Form_Load());
    plain->mnuContents_Click();
    QCoreApplication::processEvents();
    ASSERT_NE(plain->helpLauncher().window(), nullptr);
    EXPECT_TRUE(plain->helpLauncher().window()->isVisible());

    QFile::remove(path("jabbly.chm"));
    messages->shown.clear();
    QTest::keyClick(plain->WW(), Qt::Key_F1);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].kind, "critical");
    EXPECT_TRUE(messages->shown[0].text.contains(path("jabbly.chm"))) << messages->shown[0].text.toStdString();
}

TEST_F(MainWindowTest, FeedbackOpensTheMailLinkOrGivesTheAddressAndAboutShowsTheVersion)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->Form_Load());
    w->mnuSF_Click();
    ASSERT_EQ(launcher->links.size(), 1);
    EXPECT_TRUE(launcher->links[0].startsWith("mailto:"));
    EXPECT_TRUE(launcher->links[0].endsWith("?subject=Jabbly Feedback"));
    EXPECT_EQ(launcher->owners[0], w.get());
    EXPECT_TRUE(messages->shown.isEmpty());

    launcher->failure = Error(err::CannotCreateObject, "no mail program");
    w->mnuSF_Click();
    ASSERT_EQ(messages->shown.size(), 1);
    const QString address = launcher->links[0].mid(7, launcher->links[0].indexOf('?') - 7);
    EXPECT_TRUE(messages->shown[0].text.contains(address)) << messages->shown[0].text.toStdString();

    w->mnuAbout_Click();
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[1].kind, "information");
    EXPECT_EQ(messages->shown[1].title, "About");
    EXPECT_EQ(messages->shown[1].text, aboutText());
    EXPECT_TRUE(aboutText().startsWith("Jabbly V2.3.10.  "));

    for (QAction *item : w->menuBar()->findChildren<QAction *>())
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
}
