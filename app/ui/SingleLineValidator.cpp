// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SingleLineValidator.h"

namespace jabbly {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
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
