// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpContents.h"

#include "ui/Logging.h"
#include "safefile/SafeRead.h"

#include <QRegularExpression>

#include <vector>

namespace jabbly {

namespace {

// The help's pages are a few kilobytes each.
constexpr qint64 LargestHelpText = 4 << 20;

QString unescapeHtml(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

}  // namespace

QList<HelpContentsEntry> parseHelpContents(const QString &hhc)
{
    static const QRegularExpression token(QStringLiteral("<(?<close>/)?UL>|<OBJECT\\b[^>]*>(?<object>.*?)</OBJECT>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression param(QStringLiteral("<param\\s+name=\"(\\w+)\"\\s+value=\"([^\"]*)\""),
                                          QRegularExpression::CaseInsensitiveOption);

    QList<HelpContentsEntry> entries;
    std::vector<qsizetype> parents;  // the entry each open list belongs to; -1 at the top
    for (auto it = token.globalMatch(hhc); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart(u"object") < 0) {
            if (m.capturedStart(u"close") >= 0) {
                if (!parents.empty())
                    parents.pop_back();
            } else {
                parents.push_back(parents.empty() || entries.isEmpty() ? -1 : entries.size() - 1);
            }
            continue;
        }
        HelpContentsEntry entry;
        for (auto p = param.globalMatch(m.capturedView(u"object")); p.hasNext();) {
            const QRegularExpressionMatch pm = p.next();
            if (pm.capturedView(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
                entry.name = unescapeHtml(pm.captured(2));
            else if (pm.capturedView(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                entry.local = unescapeHtml(pm.captured(2));
        }
        entry.parent = parents.empty() ? -1 : parents.back();
        entries.append(std::move(entry));
    }
    return entries;
}

QString helpResourceText(const QString &name)
{
    QByteArray bytes;
    const safefile::ReadResult read = safefile::readWholeFile(QStringLiteral(":/help/") + name, LargestHelpText, bytes);
    if (!read) {
        qCWarning(lcHelp).noquote() << "the help's" << name
                                    << "cannot be read from the program's resources:" << read.reason();
        return {};
    }
    return QString::fromUtf8(bytes);
}

}  // namespace jabbly
