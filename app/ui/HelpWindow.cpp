// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include "ui/Accessibility.h"
#include "ui/Logging.h"
#include "ui/WindowPlacement.h"

#include "ui/HelpContents.h"

#include <QAction>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <vector>

namespace jabbly {

namespace {

constexpr int UrlRole = Qt::UserRole;

}  // namespace

HelpWindow::HelpWindow(QWidget *owner)
    : QWidget(owner, Qt::Window), browser_(new QTextBrowser), contents_(new QTreeWidget)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAccessibleRole(*this, QAccessible::Window);
    setWindowTitle(QStringLiteral("Jabbly Help"));

    auto *toolBar = new QToolBar;
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    back_->setShortcut(QKeySequence::Back);
    forward_ = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"));
    forward_->setShortcut(QKeySequence::Forward);
    home_ = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Home"));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    contents_->setHeaderHidden(true);
    contents_->setObjectName(QStringLiteral("contents"));
    browser_->setObjectName(QStringLiteral("page"));
    // Help links stay in the window; mail and web links go to the desktop.
    browser_->setOpenExternalLinks(true);

    auto *splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({220, 560});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(splitter);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, this, [this] { browser_->setSource(defaultPage()); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::markCurrentPage);
    connect(contents_, &QTreeWidget::itemClicked, this, &HelpWindow::followContents);
    connect(contents_, &QTreeWidget::itemActivated, this, &HelpWindow::followContents);

    loadContents();
    resize(800, 560);
    closeOnEscape(*this);
}

QUrl HelpWindow::pagesRoot() { return QUrl(QStringLiteral("qrc:/help/")); }

QUrl HelpWindow::defaultPage()
{
    // The help project names the page that jabbly.chm opens on; this window opens on it too.
    static const QRegularExpression topic(QStringLiteral("^Default topic=(.+)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = topic.match(helpResourceText(QStringLiteral("jabbly.hhp")));
    return pagesRoot().resolved(QUrl(match.hasMatch() ? match.captured(1).trimmed() : QStringLiteral("index.html")));
}

void HelpWindow::showPage(const QString &page) { browser_->setSource(pagesRoot().resolved(QUrl(page))); }

void HelpWindow::showHelp()
{
    browser_->setSource(defaultPage());
    // It opens over the window it was asked from; one already open stays where it is.
    if (!isVisible() && parentWidget())
        centreOver(*this, *parentWidget()->window());
    show();
    raise();
    activateWindow();
}

// The contents file of the help project: nested <UL> lists of <OBJECT> entries, each with
// a "Name" and a "Local" (the page) parameter.
void HelpWindow::loadContents()
{
    std::vector<QTreeWidgetItem *> items;
    for (const HelpContentsEntry &entry : parseHelpContents(helpResourceText(QStringLiteral("jabbly.hhc")))) {
        QTreeWidgetItem *item =
            entry.parent < 0 ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(items[entry.parent]);
        item->setText(0, entry.name);
        item->setData(0, UrlRole, pagesRoot().resolved(QUrl(entry.local)));
        items.push_back(item);
    }
    if (contents_->topLevelItemCount() == 0)
        qCWarning(lcHelp) << "the help's contents list no page";
    contents_->expandAll();
}

void HelpWindow::followContents(QTreeWidgetItem *item)
{
    const QUrl url = item->data(0, UrlRole).toUrl();
    if (url.isValid() && url != browser_->source())
        browser_->setSource(url);
}

// Selects the contents entry of the page shown: the entry for its exact place, or else the
// one for the page as a whole.
void HelpWindow::markCurrentPage(const QUrl &url)
{
    QTreeWidgetItem *page = nullptr;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QUrl entry = (*it)->data(0, UrlRole).toUrl();
        if (entry == url) {
            contents_->setCurrentItem(*it);
            return;
        }
        if (!page && entry == url.adjusted(QUrl::RemoveFragment))
            page = *it;
    }
    if (page)
        contents_->setCurrentItem(page);
    else
        contents_->clearSelection();
}

}  // namespace jabbly
