// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The user's lexicon: reading its file, and applying it to a text.
//
// Input: one byte of mode, then UTF-8. Mode odd: the rest is a lexicon file. Mode even:
// the rest is entries and a text, U+001E between them, word U+001F pronunciation in each
// entry; the entries are set one by one, then the text is applied.
//
// Invariants: reading never fails but with a file error or InvalidFileFormat (321), and a
// lexicon it reads holds at most MaxEntries sorted entries of trimmed one-line texts of
// 1 to MaxLength characters; set() takes or refuses an entry by the same rules; saving and
// reading again gives the same lexicon; apply() gives what a plain search for the longest
// whole word at each place gives.

#include "FuzzSupport.h"
#include "speech/Lexicon.h"
#include "speech/SpeechErrors.h"

#include <QHash>

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

bool isWordUnit(QChar c) { return c.isLetterOrNumber() || c.isMark() || c.isSurrogate() || c == u'_'; }

bool isOneLine(const QString &t)
{
    for (QChar c : t) {
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

void checkEntries(const Lexicon &lexicon)
{
    const QList<Lexicon::Entry> &entries = lexicon.entries();
    FUZZ_CHECK(entries.size() <= Lexicon::MaxEntries, QStringLiteral("%1 entries").arg(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Lexicon::Entry &e = entries[i];
        for (const QString &t : {e.word, e.sayAs}) {
            FUZZ_CHECK(!t.isEmpty() && t == t.trimmed() && t.size() <= Lexicon::MaxLength && isOneLine(t),
                       QStringLiteral("entry %1 holds %2").arg(i).arg(show(t)));
        }
        if (i > 0)
            FUZZ_CHECK(entries[i - 1].word.toCaseFolded() < e.word.toCaseFolded(),
                       QStringLiteral("entries %1 and %2 out of order: %3 %4")
                           .arg(i - 1)
                           .arg(i)
                           .arg(show(entries[i - 1].word), show(e.word)));
        FUZZ_CHECK(lexicon.sayAs(e.word) == e.sayAs, QStringLiteral("sayAs(%1) is not its entry's").arg(show(e.word)));
    }
}

void checkRoundTrip(const Lexicon &lexicon)
{
    const QString file = scratchPath(QStringLiteral("lexicon.json"));
    lexicon.save(file);
    Lexicon again;
    again.load(file);
    FUZZ_CHECK(again == lexicon,
               QStringLiteral("saved %1 entries, read back %2").arg(lexicon.size()).arg(again.size()));
}

// The longest whole word at each place, found the plain way.
QString plainApply(const Lexicon &lexicon, const QString &text)
{
    QHash<QString, QString> byFolded;
    for (const Lexicon::Entry &e : lexicon.entries())
        byFolded.insert(e.word.toCaseFolded(), e.sayAs);
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype best = -1;
        if (i == 0 || !isWordUnit(text[i - 1])) {
            for (qsizetype end = i + 1; end <= text.size(); ++end) {
                if (end < text.size() && isWordUnit(text[end]))
                    continue;
                if (byFolded.contains(text.mid(i, end - i).toCaseFolded()))
                    best = end;
            }
        }
        if (best > 0) {
            out += byFolded.value(text.mid(i, best - i).toCaseFolded());
            i = best;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputReader in(data, size);
    const uint8_t mode = in.byte();
    const QByteArray rest = in.rest();

    if (mode & 1) {
        const QString file = scratchPath(QStringLiteral("input.json"));
        writeFile(file, rest);
        Lexicon lexicon;
        lexicon.set(QStringLiteral("kept"), QStringLiteral("as it was"));
        const Lexicon before = lexicon;
        try {
            lexicon.load(file);
        } catch (const Error &e) {
            FUZZ_CHECK(e.number() == speech_err::InvalidFileFormat,
                       QStringLiteral("reading failed with %1: %2").arg(e.number()).arg(e.message()));
            FUZZ_CHECK(lexicon == before, QStringLiteral("a failed read changed the lexicon"));
            return 0;
        }
        checkEntries(lexicon);
        checkRoundTrip(lexicon);
        return 0;
    }

    const QStringList parts = splitBounded(QString::fromUtf8(rest), QChar(0x1E), 40, 300);
    Lexicon lexicon;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QStringList pair = parts[i].split(QChar(0x1F));
        const QString word = pair.value(0), sayAs = pair.value(1);
        const bool acceptable = [&] {
            for (const QString &t : {word.trimmed(), sayAs.trimmed()}) {
                if (t.isEmpty() || t.size() > Lexicon::MaxLength || !isOneLine(t))
                    return false;
            }
            return true;
        }();
        try {
            lexicon.set(word, sayAs);
            FUZZ_CHECK(acceptable, QStringLiteral("set(%1, %2) was taken").arg(show(word), show(sayAs)));
            FUZZ_CHECK(lexicon.sayAs(word) == sayAs.trimmed(), QStringLiteral("set(%1) did not stick").arg(show(word)));
        } catch (const Error &e) {
            FUZZ_CHECK(!acceptable && e.number() == err::InvalidArgument,
                       QStringLiteral("set(%1, %2) failed with %3").arg(show(word), show(sayAs)).arg(e.number()));
        }
    }
    checkEntries(lexicon);
    const QString text = parts.isEmpty() ? QString() : parts.last();
    const QString applied = lexicon.apply(text);
    const QString wanted = plainApply(lexicon, text);
    FUZZ_CHECK(applied == wanted,
               QStringLiteral("apply(%1) gave %2, a plain search %3").arg(show(text), show(applied), show(wanted)));
    checkRoundTrip(lexicon);
    return 0;
}
