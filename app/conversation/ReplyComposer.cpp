// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/ReplyComposer.h"

#include "conversation/RandomGenerator.h"

#include <algorithm>
#include <array>

namespace jabbly {

namespace {

constexpr int Passes = 19;

struct Tokens {
    std::array<QString, Passes + 1> word, wordP, number;
    Tokens()
    {
        for (int n = 1; n <= Passes; ++n) {
            word[n] = QStringLiteral("£WORD%1£").arg(n);
            wordP[n] = QStringLiteral("£WORDP%1£").arg(n);
            number[n] = QStringLiteral("£NUMBER%1£").arg(n);
        }
    }
};

const Tokens &tokens()
{
    static const Tokens t;
    return t;
}

// Replaces every `token` in `text`, left to right, without searching the text it puts in.
// `value` is made only when the token is there. An occurrence whose value would take the
// text past `limit` characters stays as it is.
template <typename MakeValue>
void replaceToken(QString &text, const QString &token, qsizetype limit, MakeValue makeValue)
{
    const qsizetype first = text.indexOf(token);
    if (first < 0)
        return;
    const QString value = makeValue();
    const qsizetype growth = value.size() - token.size();
    qsizetype length = text.size();  // the result's length, counting the rest as it is
    QString out;
    out.reserve(std::min(limit, text.size() + std::max<qsizetype>(growth, 0) * 2));
    qsizetype from = 0;
    for (qsizetype at = first; at >= 0; at = text.indexOf(token, from)) {
        out.append(QStringView(text).mid(from, at - from));
        if (growth <= 0 || length + growth <= limit) {
            out.append(value);
            length += growth;
        } else {
            out.append(token);
        }
        from = at + token.size();
    }
    out.append(QStringView(text).mid(from));
    text = std::move(out);
}

}  // namespace

ReplyComposer::ReplyComposer(ItemList &HidWord, ItemList &HidCPU, RandomGenerator &random, const QLocale &locale)
    : HidWord_(HidWord), HidCPU_(HidCPU), random_(random), groupSeparator_(locale.groupSeparator())
{
}

void ReplyComposer::setLocale(const QLocale &locale) { groupSeparator_ = locale.groupSeparator(); }

QString ReplyComposer::dropTrailingS(const QString &word)
{
    if (word.endsWith(u's'))
        return word.left(word.size() - 1);
    return word;
}

QString ReplyComposer::properCase(const QString &text)
{
    // By code point, so that a letter outside the Basic Multilingual Plane (a surrogate
    // pair) is cased like any other; each mapping keeps the pair a pair.
    QString out;
    out.reserve(text.size());
    bool wordStart = true;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        switch (c) {
        case U' ':
        case U'\t':
        case U'\n':
        case U'\r':
        case U'\v':
        case U'\f':
        case U'\0':
            wordStart = true;
            break;
        default:
            c = wordStart ? QChar::toUpper(c) : QChar::toLower(c);
            wordStart = false;
        }
        if (QChar::requiresSurrogates(c)) {
            out.append(QChar(QChar::highSurrogate(c)));
            out.append(QChar(QChar::lowSurrogate(c)));
        } else {
            out.append(QChar(static_cast<char16_t>(c)));
        }
    }
    return out;
}

QString ReplyComposer::formatNumber(int number, const QString &separator)
{
    QString digits = QString::number(number);
    if (digits.size() <= 3 || number < 0)
        return digits;
    QString out;
    out.reserve(digits.size() + (digits.size() / 3) * separator.size());
    const qsizetype lead = digits.size() % 3;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (i - lead) % 3 == 0)
            out.append(separator);
        out.append(digits.at(i));
    }
    return out;
}

std::optional<QString> ReplyComposer::compose(const QString &NameNo)
{
    const int16_t templates = HidCPU_.ListCount();
    if (templates <= 0)
        return std::nullopt;

    HidCPU_.setListIndex(static_cast<int16_t>(random_.RandomInt(0, static_cast<int16_t>(templates - 1))));
    QString reply = HidCPU_.Text();

    static const QString name = QStringLiteral("£NAME£");
    replaceToken(reply, name, MaxReplyLength, [&] { return NameNo; });

    const Tokens &t = tokens();
    const auto lastWord = static_cast<int16_t>(HidWord_.ListCount() - 1);
    // Text only changes while a pound sign is left in it; the draws happen regardless.
    bool tokensLeft = reply.contains(u'£');
    for (int n = 1; n <= Passes; ++n) {
        const int i = random_.RandomInt(0, lastWord);
        const int j = random_.RandomInt(0, lastWord);
        if (tokensLeft) {
            replaceToken(reply, t.word[n], MaxReplyLength, [&] { return dropTrailingS(HidWord_.List(i)); });
            replaceToken(reply, t.wordP[n], MaxReplyLength,
                         [&] { return properCase(dropTrailingS(HidWord_.List(j))); });
        }
        const int m = random_.RandomInt(1, 10000);
        if (tokensLeft) {
            replaceToken(reply, t.number[n], MaxReplyLength, [&] { return formatNumber(m, groupSeparator_); });
            tokensLeft = reply.contains(u'£');
        }
    }
    return reply;
}

}  // namespace jabbly
