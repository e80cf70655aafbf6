// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

}  // namespace

ListFileDecoder::ListFileDecoder(qsizetype maxItems, qsizetype maxLineBytes)
    : maxItems_(maxItems), maxLineBytes_(maxLineBytes), charset_(listFileCharset())
{
    // Room for as many items as a list holds, so that the list of items never moves as it
    // grows; memory that is not filled is never touched.
    if (charset_.empty() && maxItems_ > 0)
        items_.reserve(std::min<qsizetype>(maxItems_, jabbly::ItemList::MaxItems + 1));
}

bool ListFileDecoder::feed(QByteArrayView bytes)
{
    if (full() || tooLongLine_)
        return false;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    if (afterCr_ && p != end) {
        afterCr_ = false;
        if (*p == '\n')
            ++p;
    }
    const auto *start = p;
    unsigned char high = 0;  // any byte from 0x80 up in the current line
    const auto tooLong = [&](qsizetype length) {
        if (length <= maxLineBytes_)
            return false;
        tooLongLine_ = lines_ + 1;
        return true;
    };
    for (; p != end; ++p) {
        if (*p != '\r') {
            high |= *p;
            continue;
        }
        const QByteArrayView piece(start, p);
        if (tooLong(pending_.size() + piece.size()))
            return false;
        if (pending_.isEmpty()) {
            addLine(piece, high & 0x80);
        } else {
            pending_ += piece;
            addLine(pending_, pendingHigh_ || (high & 0x80));
            pending_.clear();
            pendingHigh_ = false;
        }
        high = 0;
        if (full())
            return false;
        if (p + 1 == end)
            afterCr_ = true;
        else if (p[1] == '\n')
            ++p;
        start = p + 1;
    }
    if (start != end) {
        // The line goes on in the next piece.
        if (tooLong(pending_.size() + (end - start)))
            return false;
        pending_ += QByteArrayView(start, end);
        pendingHigh_ = pendingHigh_ || (high & 0x80);
    }
    return true;
}

void ListFileDecoder::addLine(QByteArrayView line, bool highBytes)
{
    ++lines_;
    if (!charset_.empty()) {
        lineBytes_ += line;
        lineBytes_ += "\r\n";
    } else if (!highBytes) {
        // Plain ASCII, the usual case: widened directly.
        QString item(line.size(), Qt::Uninitialized);
        std::copy(line.begin(), line.end(), reinterpret_cast<char16_t *>(item.data()));
        items_.append(std::move(item));
    } else {
        items_.append(decodeUtf8Line(line));
    }
}

QStringList ListFileDecoder::finish()
{
    if (!pending_.isEmpty() && !full() && !tooLongLine_)
        addLine(pending_, pendingHigh_);
    pending_.clear();
    if (charset_.empty())
        return std::move(items_);
    // Other character sets are decoded whole, as the file was written.
    return splitText(decodeInCharset(charset_, lineBytes_), maxItems_);
}

QStringList decodeListFile(const QByteArray &bytes, qsizetype maxItems)
{
    ListFileDecoder decoder(maxItems);
    decoder.feed(bytes);
    return decoder.finish();
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
