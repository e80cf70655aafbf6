// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include "ui/Accessibility.h"
#include "ui/Logging.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QFile>
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

QString resourceText(const QString &name)
{
    QFile file(QStringLiteral(":/help/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcHelp) << "the help's" << name << "is missing from the program's resources";
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QString unescapeHtml(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

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
    const QRegularExpressionMatch match = topic.match(resourceText(QStringLiteral("jabbly.hhp")));
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
    static const QRegularExpression token(QStringLiteral("<(?<close>/)?UL>|<OBJECT\\b[^>]*>(?<object>.*?)</OBJECT>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression param(QStringLiteral("<param\\s+name=\"(\\w+)\"\\s+value=\"([^\"]*)\""),
                                          QRegularExpression::CaseInsensitiveOption);

    std::vector<QTreeWidgetItem *> parents;  // the item each open list belongs to; null at the top
    QTreeWidgetItem *last = nullptr;
    const QString hhc = resourceText(QStringLiteral("jabbly.hhc"));
    for (auto it = token.globalMatch(hhc); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart(u"object") < 0) {
            if (m.capturedStart(u"close") >= 0) {
                if (!parents.empty())
                    parents.pop_back();
            } else {
                parents.push_back(parents.empty() ? nullptr : last);
            }
        } else {
            QString name, local;
            for (auto p = param.globalMatch(m.captured(u"object")); p.hasNext();) {
                const QRegularExpressionMatch pm = p.next();
                if (pm.captured(1).compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0)
                    name = unescapeHtml(pm.captured(2));
                else if (pm.captured(1).compare(QStringLiteral("Local"), Qt::CaseInsensitive) == 0)
                    local = unescapeHtml(pm.captured(2));
            }
            QTreeWidgetItem *parent = parents.empty() ? nullptr : parents.back();
            last = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
            last->setText(0, name);
            last->setData(0, UrlRole, pagesRoot().resolved(QUrl(local)));
        }
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
