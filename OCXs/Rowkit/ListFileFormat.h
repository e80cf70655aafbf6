// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list file's lines. CR LF or a lone CR ends a line; a lone LF is part of the item.
// Nothing is trimmed. The last line needs no line end, and a line end at the very end of
// the file does not start another, empty item. Written, every item is followed by CR LF.

#include "jabbly/itemlist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <string>

namespace rowkit {

// Splits and decodes a list file fed piece by piece, so that no more of a file is held
// than the items it yields: reading stops once `maxItems` items are in, or at a line
// longer than `maxLineBytes`, whatever the file's size.
class ListFileDecoder {
public:
    // Longer lines are refused: a list item is a word or a reply template, and a file
    // without line ends (a sparse file reads as one endless line of NULs) must not be
    // held in memory whole.
    static constexpr qsizetype MaxLineBytes = qsizetype{16} << 20;

    explicit ListFileDecoder(qsizetype maxItems, qsizetype maxLineBytes = MaxLineBytes);

    // The next bytes of the file. False when no more are wanted: `maxItems` items are
    // in, or a line is too long.
    bool feed(QByteArrayView bytes);
    // The items, once the file has been fed.
    QStringList finish();

    // The line that was too long (counted from 1), or 0.
    qsizetype tooLongLine() const { return tooLongLine_; }

private:
    void addLine(QByteArrayView line, bool highBytes);
    bool full() const { return lines_ == maxItems_; }

    const qsizetype maxItems_;
    const qsizetype maxLineBytes_;
    const std::string charset_;  // empty: UTF-8, decoded line by line
    qsizetype lines_ = 0;
    qsizetype tooLongLine_ = 0;
    QByteArray pending_;        // the start of a line that the previous piece did not end
    bool pendingHigh_ = false;  // a byte from 0x80 up in pending_
    bool afterCr_ = false;      // the previous piece ended with CR: an LF first is its pair
    QStringList items_;         // UTF-8: decoded as they come
    QByteArray lineBytes_;      // a locale character set: the lines, joined by CR LF
};

// The items of a list file's bytes, decoded as ListCharset.h says; at most `maxItems`
// of them (the rest is not split), and none from a line longer than
// ListFileDecoder::MaxLineBytes on.
QStringList decodeListFile(const QByteArray &bytes, qsizetype maxItems);

// The bytes of a list file holding the list's items, in the locale's character set
// (see ListCharset.h).
QByteArray encodeListFile(const jabbly::ItemList &list);

}  // namespace rowkit
