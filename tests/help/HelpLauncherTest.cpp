// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// F1: the desktop's viewer for jabbly.chm when there is one, the program's own help window
// otherwise, and a clear message when the file is missing.
#include "ui/HelpLauncher.h"
#include "ui/HelpWindow.h"

#include "ErrorNumber.h"
#include "jabbly/error.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWidget>

#include "HelpTesting.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace jabbly;

namespace {

class HelpLauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile chm(chmPath);
        ASSERT_TRUE(chm.open(QIODevice::WriteOnly));
        chm.write("ITSF");
    }

    HelpLauncher::Desktop desktop()
    {
        return {[this](const QString &path) {
                    asked << path;
                    return hasViewer;
                },
                [this](const QUrl &url) {
                    opened << url;
                    return openWorks;
                }};
    }

    QTemporaryDir dir;
    const QString chmPath = dir.filePath("jabbly.chm");
    QWidget owner;
    bool hasViewer = false;
    bool openWorks = true;
    QStringList asked;
    QList<QUrl> opened;
};

TEST_F(HelpLauncherTest, TheDesktopsViewerOpensTheFileWhenThereIsOne)
{
    hasViewer = true;
    HelpLauncher launcher(&owner, desktop());
    launcher.showHelp(chmPath);
    EXPECT_EQ(asked, QStringList{chmPath});
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(chmPath)});
    EXPECT_EQ(launcher.window(), nullptr);

    // A viewer that does not start: the help still shows, in the program's own window.
    openWorks = false;
    launcher.showHelp(chmPath);
    ASSERT_NE(launcher.window(), nullptr);
    EXPECT_TRUE(launcher.window()->isVisible());
}

TEST_F(HelpLauncherTest, WithoutAViewerTheOwnWindowShowsTheDefaultPage)
{
    HelpLauncher launcher(&owner, desktop());
    launcher.showHelp(chmPath);
    EXPECT_TRUE(opened.isEmpty());
    HelpWindow *window = launcher.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), &owner);
    EXPECT_EQ(window->browser()->source(), HelpWindow::defaultPage());

    // Closed and asked for again: the same window, back on the default page.
    window->showPage("keys.html");
    window->close();
    launcher.showHelp(chmPath);
    EXPECT_EQ(launcher.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->browser()->source(), HelpWindow::defaultPage());
}

TEST_F(HelpLauncherTest, AMissingHelpFileIsToldByName)
{
    hasViewer = true;
    HelpLauncher launcher(&owner, desktop());
    const QString missing = dir.filePath("gone/jabbly.chm");
    try {
        launcher.showHelp(missing);
        FAIL() << "no error for a missing help file";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
        EXPECT_TRUE(e.message().contains("'" + missing + "'")) << e.message().toStdString();
    }
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(launcher.window(), nullptr);
}

}  // namespace
