// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own help window, for desktops without a viewer for jabbly.chm: the help
// pages from the program's resources in a text browser, with the help's contents beside
// them, and Back, Forward and Home.

#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace jabbly {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window of its own, for reading beside the program: the window manager
    // does not keep it in front of `owner`, but it closes with it and opens centred over
    // it. Escape closes it.
    explicit HelpWindow(QWidget *owner = nullptr);

    // Where the pages are, and the page the help opens on (the help project's default topic).
    static QUrl pagesRoot();
    static QUrl defaultPage();

    // Shows `page` (relative to pagesRoot(), with or without "#anchor").
    void showPage(const QString &page);
    // Shows the default page and raises the window.
    void showHelp();

    QTextBrowser *browser() const { return browser_; }
    QTreeWidget *contents() const { return contents_; }
    QAction *backAction() const { return back_; }
    QAction *forwardAction() const { return forward_; }

private:
    void loadContents();
    void followContents(QTreeWidgetItem *item);
    void markCurrentPage(const QUrl &url);

    QTextBrowser *browser_;
    QTreeWidget *contents_;
    QAction *back_;
    QAction *forward_;
    QAction *home_;
};

}  // namespace jabbly
