// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The speech text filter: the input is read twice, as UTF-8 and as raw UTF-16 units (so
// lone surrogates and every 16-bit value occur), and each text goes through Sayline's filt.
//
// filt maps each character on its own: a character it replaces becomes a short text of
// plain ASCII that it would not replace again, every other character stays. So the text
// filtered whole equals its characters filtered one by one and joined, filtering twice
// changes nothing more, and the result is the rewritten text trimmed of spaces.

#include "FuzzSupport.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

// The characters that filt replaces: control characters, ^, `, DEL, the five codes that
// Windows-1252 leaves unassigned, all of U+00A0 to U+00FF and the characters that
// Windows-1252 puts at 0x80 to 0x9F.
bool isReplaced(char16_t c)
{
    static constexpr std::array<char16_t, 27> Windows1252High = {
        0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
        0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178,
    };
    if ((c >= 0x01 && c <= 0x1F) || c == 0x5E || c == 0x60 || c == 0x7F || (c >= 0xA0 && c <= 0xFF))
        return true;
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
        return true;
    return std::find(Windows1252High.begin(), Windows1252High.end(), c) != Windows1252High.end();
}

QString filtText(QString &text) { return saylineComponent().filt(text); }

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

// What filt makes of one character, asked of filt itself once per character.
const QString &filtered(char16_t c)
{
    static QHash<char16_t, QString> known;
    auto it = known.constFind(c);
    if (it != known.constEnd())
        return *it;
    QString one(QChar{c});
    filtText(one);
    if (isReplaced(c)) {
        FUZZ_CHECK(!one.isEmpty(),
                   QStringLiteral("U+%1 was replaced by nothing").arg(uint(c), 4, 16, QLatin1Char('0')));
        for (const QChar r : std::as_const(one))
            FUZZ_CHECK(r.unicode() >= 0x20 && r.unicode() <= 0x7E && !isReplaced(r.unicode()),
                       QStringLiteral("U+%1 became %2").arg(uint(c), 4, 16, QLatin1Char('0')).arg(show(one)));
    } else {
        FUZZ_CHECK(one == QString(QChar{c}),
                   QStringLiteral("U+%1 became %2").arg(uint(c), 4, 16, QLatin1Char('0')).arg(show(one)));
    }
    return *known.insert(c, one);
}

void check(const QString &input)
{
    QString text = input;
    const QString result = filtText(text);
    FUZZ_CHECK(result == trimSpaces(text),
               QStringLiteral("filt gave %1 for the rewritten text %2").arg(show(result), show(text)));

    QString joined;
    for (const QChar c : input)
        joined += filtered(c.unicode());
    FUZZ_CHECK(text == joined,
               QStringLiteral("%1 became %2, its characters one by one %3").arg(show(input), show(text), show(joined)));

    QString again = text;
    const QString secondResult = filtText(again);
    FUZZ_CHECK(again == text && secondResult == result,
               QStringLiteral("filtering %1 again gave %2").arg(show(text), show(again)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    check(QString::fromUtf8(bytes));
    QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    if (!units.isEmpty())
        std::memcpy(units.data(), data, static_cast<size_t>(units.size()) * sizeof(char16_t));
    check(units);
    return 0;
}
