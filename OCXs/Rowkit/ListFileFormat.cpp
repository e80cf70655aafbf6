#include "ListFileFormat.h"

#include "ListCharset.h"

#include <algorithm>

namespace rowkit {

namespace {

QStringList splitText(const QString &text, qsizetype maxItems)
{
    QStringList items;
    const char16_t *const begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = begin + text.size();
    const char16_t *start = begin;
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

QStringList splitBytes(const QByteArray &bytes, qsizetype maxItems, const ListTextDecoder &decoder)
{
    QStringList items;
    const auto *start = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *const end = start + bytes.size();
    items.reserve(std::min<qsizetype>(std::count(start, end, '\r') + 1, maxItems));
    const auto *p = start;
    unsigned char high = 0;  // any byte from 0x80 up in the current line
    const auto addLine = [&](const unsigned char *lineEnd) {
        if (high < 0x80) {
            // Plain ASCII, the usual case: widened directly.
            QString line(lineEnd - start, Qt::Uninitialized);
            std::copy(start, lineEnd, reinterpret_cast<char16_t *>(line.data()));
            items.append(std::move(line));
        } else {
            items.append(decoder.decodeLine(QByteArrayView(start, lineEnd)));
        }
        high = 0;
    };
    for (; p != end; ++p) {
        if (*p != '\r') {
            high |= *p;
            continue;
        }
        if (items.size() == maxItems)
            return items;
        addLine(p);
        if (p + 1 != end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    if (start != end && items.size() < maxItems)
        addLine(end);
    return items;
}

}  // namespace

QStringList decodeListFile(const QByteArray &bytes, qsizetype maxItems)
{
    const ListTextDecoder decoder(bytes);
    if (decoder.decodesLines())
        return splitBytes(bytes, maxItems, decoder);
    return splitText(decoder.decodeAll(), maxItems);
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
