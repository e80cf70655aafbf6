// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SingleLineValidator.h"

namespace jabbly {

namespace {

// Line breaks, and the characters a text document takes for structure rather than text:
// the frame markers U+FDD0 and U+FDD1 (QTextBeginningOfFrame, QTextEndOfFrame), which
// split a paragraph like a break, and U+FFFC, the place of an embedded object.
bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\r':
    case u'\n':
    case u'\v':
    case u'\f':
    case 0x0085:  // next line
    case QChar::LineSeparator:
    case QChar::ParagraphSeparator:
    case 0xFDD0:
    case 0xFDD1:
    case QChar::ObjectReplacementCharacter:
        return true;
    default:
        return false;
    }
}

}  // namespace

QString SingleLineValidator::foldLineBreaks(const QString &text, int *pos)
{
    if (std::none_of(text.cbegin(), text.cend(), isLineBreak))
        return text;
    QString out;
    out.reserve(text.size());
    int newPos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            out.append(u' ');
            if (pos && i + 1 < *pos)
                --newPos;
            ++i;
        } else {
            out.append(isLineBreak(c) ? QChar(u' ') : c);
        }
    }
    if (pos)
        *pos = newPos;
    return out;
}

QValidator::State SingleLineValidator::validate(QString &input, int &pos) const
{
    input = foldLineBreaks(input, &pos);
    return Acceptable;
}

}  // namespace jabbly
