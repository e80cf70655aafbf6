// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own help window over the pages in its resources (offscreen).
#include "ui/HelpWindow.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "HelpTesting.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace jabbly;

namespace {

QUrl page(const QString &name) { return HelpWindow::pagesRoot().resolved(QUrl(name)); }

// Clicks the link whose text is `text` in the page shown.
bool clickLink(QTextBrowser &browser, const QString &text)
{
    const QTextCursor found = browser.document()->find(text);
    if (found.isNull() || !found.charFormat().isAnchor())
        return false;
    QTextCursor middle(browser.document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    browser.ensureCursorVisible();
    browser.setTextCursor(middle);
    browser.ensureCursorVisible();
    const QPoint at = browser.cursorRect(middle).center();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
    return true;
}

QTreeWidgetItem *entry(QTreeWidget &contents, const QString &name)
{
    for (QTreeWidgetItemIterator it(&contents); *it; ++it) {
        if ((*it)->text(0) == name)
            return *it;
    }
    return nullptr;
}

TEST(HelpWindow, OpensOnTheDefaultPageFollowsLinksAndGoesBack)
{
    HelpWindow window;
    window.showHelp();
    QTextBrowser &browser = *window.browser();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(browser.source(), page("index.html"));
    EXPECT_EQ(browser.documentTitle(), "Welcome to Jabbly");
    EXPECT_FALSE(window.backAction()->isEnabled());
    ASSERT_NE(window.contents()->currentItem(), nullptr);
    EXPECT_EQ(window.contents()->currentItem()->text(0), "Welcome to Jabbly");

    ASSERT_TRUE(clickLink(browser, "How a conversation works"));
    EXPECT_EQ(browser.source(), page("conversation.html"));
    EXPECT_EQ(browser.documentTitle(), "How a conversation works");
    EXPECT_EQ(window.contents()->currentItem()->text(0), "How a conversation works");
    EXPECT_TRUE(window.backAction()->isEnabled());

    window.backAction()->trigger();
    EXPECT_EQ(browser.source(), page("index.html"));
    EXPECT_TRUE(window.forwardAction()->isEnabled());
    window.forwardAction()->trigger();
    EXPECT_EQ(browser.source(), page("conversation.html"));

    // The contents: an entry for a place in a page opens the page there.
    QTreeWidgetItem *swap = entry(*window.contents(), "[swap]");
    ASSERT_NE(swap, nullptr);
    ASSERT_NE(swap->parent(), nullptr);
    EXPECT_EQ(swap->parent()->text(0), "Commands");
    const QRect row = window.contents()->visualItemRect(swap);
    QTest::mouseClick(window.contents()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(browser.source(), page("commands.html#swap"));
    EXPECT_EQ(window.contents()->currentItem(), swap);
    window.backAction()->trigger();
    EXPECT_EQ(browser.source(), page("conversation.html"));
}

TEST(HelpWindow, EveryPageAndLinkOfTheHelpIsThere)
{
    HelpWindow window;
    QStringList pages;
    for (QTreeWidgetItemIterator it(window.contents()); *it; ++it)
        pages << (*it)->data(0, Qt::UserRole).toUrl().adjusted(QUrl::RemoveFragment).toString();
    pages.removeDuplicates();
    EXPECT_EQ(pages.size(), 11);

    for (const QString &name : pages) {
        window.browser()->setSource(QUrl(name));
        const QTextDocument &doc = *window.browser()->document();
        EXPECT_FALSE(doc.toPlainText().trimmed().isEmpty()) << name.toStdString();
        EXPECT_FALSE(doc.metaInformation(QTextDocument::DocumentTitle).isEmpty()) << name.toStdString();
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QString href = it.fragment().charFormat().anchorHref();
                if (href.isEmpty())
                    continue;
                const QUrl target = QUrl(name).resolved(QUrl(href));
                if (target.scheme() != "qrc")
                    continue;  // mail or web
                QFile file(u':' + target.path());
                ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString() << " links to " << href.toStdString();
                if (target.hasFragment()) {
                    const QByteArray anchor = "name=\"" + target.fragment().toUtf8() + '"';
                    EXPECT_TRUE(file.readAll().contains(anchor))
                        << name.toStdString() << " links to " << href.toStdString();
                }
            }
        }
    }
}

}  // namespace
