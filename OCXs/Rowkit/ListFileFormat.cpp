#include "ListFileFormat.h"

#include "ListCharset.h"

namespace rowkit {

namespace {

QStringList splitLines(const QString &text, qsizetype maxItems)
{
    QStringList items;
    const char16_t *const begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = begin + text.size();
    const char16_t *start = begin;
    // Lines are short as a rule: a plain loop beats a search call per line.
    for (const char16_t *p = begin; p != end; ++p) {
        if (*p != u'\r')
            continue;
        if (items.size() == maxItems)
            return items;
        items.append(QString(reinterpret_cast<const QChar *>(start), p - start));
        if (p + 1 != end && p[1] == u'\n')
            ++p;
        start = p + 1;
    }
    if (start != end && items.size() < maxItems)
        items.append(QString(reinterpret_cast<const QChar *>(start), end - start));
    return items;
}

}  // namespace

QStringList decodeListFile(const QByteArray &bytes, qsizetype maxItems)
{
    return splitLines(decodeListText(bytes), maxItems);
}

QByteArray encodeListFile(const jabbly::ItemList &list)
{
    const int count = list.ListCount();
    // Words are short; the guess only saves a few reallocations.
    ListTextEncoder encoder(qsizetype{count} * 12);
    for (int i = 0; i < count; ++i)
        encoder.appendLine(list.List(i));
    return encoder.finish();
}

}  // namespace rowkit
