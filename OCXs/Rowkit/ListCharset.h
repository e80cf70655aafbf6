// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character set of list files: the locale's. Under a UTF-8 locale (and under the
// C/POSIX locale, which names plain ASCII) list files are UTF-8 without a byte-order
// mark; a line that is not valid UTF-8 is read as Windows-1252, so that lists written by
// older versions, or lines another program added in that code page, still load. Under
// any other locale its own character set is used, except for a file that is valid UTF-8
// and holds characters beyond ASCII: that one was written as UTF-8 and is read so.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <string>

namespace rowkit {

// The locale's character set as iconv knows it when list files are written in it; empty
// when list files are UTF-8.
std::string listFileCharset();

// One line of a UTF-8 list file (CR and LF only ever stand for themselves, so each line
// can be decoded on its own): as UTF-8 when the line is valid UTF-8, else as
// Windows-1252. Never fails; a byte-order mark is not special (its character begins the
// item).
QString decodeUtf8Line(QByteArrayView line);

// A list file's bytes under a locale character set `charset` (not empty), decoded whole;
// valid UTF-8 with characters beyond ASCII is read as UTF-8. Every byte becomes some
// character: one that the character set leaves undefined becomes the character of the
// same value.
QString decodeInCharset(const std::string &charset, const QByteArray &bytes);

// Text to the bytes of a list file, piece by piece, so that a whole list is encoded
// without first being joined into one text. A character that the locale's character set
// cannot represent is written as '?'; under UTF-8 every character can be, and a lone
// UTF-16 surrogate (half a character) is written as U+FFFD, the replacement character.
class ListTextEncoder {
public:
    explicit ListTextEncoder(qsizetype expectedLength);
    // The text followed by CR LF.
    void appendLine(QStringView text);
    QByteArray finish();

private:
    std::string charset_;  // empty for UTF-8
    QStringEncoder utf8_;
    QByteArray bytes_;
    qsizetype used_ = 0;
    QString pending_;  // the text for a locale character set, converted by finish()
};

// Windows-1252 to text. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same value.
QString decodeWindows1252(QByteArrayView bytes);

}  // namespace rowkit
