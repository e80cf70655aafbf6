#include "ListFileFormat.h"

#include <algorithm>

namespace rowkit {

QStringList splitListLines(const QString &text, qsizetype maxItems)
{
    QStringList items;
    if (maxItems <= 0)
        return items;
    const QStringView all(text);
    items.reserve(std::min<qsizetype>(all.count(u'\r') + 1, maxItems));
    qsizetype start = 0;
    while (start < all.size() && items.size() < maxItems) {
        const qsizetype cr = all.indexOf(u'\r', start);
        if (cr < 0) {
            items.append(all.mid(start).toString());
            break;
        }
        items.append(all.mid(start, cr - start).toString());
        start = cr + 1;
        if (start < all.size() && all[start] == u'\n')
            ++start;
    }
    return items;
}

QString joinListLines(const QStringList &items)
{
    qsizetype size = 0;
    for (const QString &item : items)
        size += item.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &item : items) {
        text += item;
        text += QLatin1String("\r\n");
    }
    return text;
}

}  // namespace rowkit
