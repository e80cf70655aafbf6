// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/Lexicon.h"

#include "safefile/SafeRead.h"
#include "speech/SpeechErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

namespace jabbly {

namespace {

// The file: {"lexicon": 1, "entries": [{"word": ..., "sayAs": ...}, ...]}.
constexpr auto FormatKey = "lexicon";
constexpr int FormatVersion = 1;
constexpr qint64 LargestFile = qint64{16} * 1024 * 1024;

Error invalid(const QString &what) { return Error(err::InvalidArgument, what); }

QString checked(const QString &text, const char *what)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        throw invalid(QStringLiteral("The %1 must not be empty.").arg(QLatin1String(what)));
    if (t.size() > Lexicon::MaxLength)
        throw invalid(
            QStringLiteral("The %1 is longer than %2 characters.").arg(QLatin1String(what)).arg(Lexicon::MaxLength));
    for (QChar c : t) {
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            throw invalid(QStringLiteral("The %1 must be on one line.").arg(QLatin1String(what)));
    }
    return t;
}

// A letter, digit, combining mark or underscore: what a whole word may not touch. Halves
// of surrogate pairs count as word characters, so no word is cut out of one.
bool isWordUnit(char16_t c)
{
    const QChar q(c);
    return q.isLetterOrNumber() || q.isMark() || q.isSurrogate() || c == u'_';
}

}  // namespace

QString Lexicon::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/lexicon.json");
}

qsizetype Lexicon::lowerBound(const QString &folded) const
{
    const auto it = std::lower_bound(entries_.cbegin(), entries_.cend(), folded,
                                     [](const Entry &e, const QString &f) { return e.word.toCaseFolded() < f; });
    return it - entries_.cbegin();
}

void Lexicon::set(const QString &word, const QString &sayAs)
{
    const QString w = checked(word, "word");
    const QString s = checked(sayAs, "pronunciation");
    const QString folded = w.toCaseFolded();
    if (const auto it = byFoldedWord_.constFind(folded); it != byFoldedWord_.cend()) {
        entries_[*it] = {w, s};
        return;
    }
    if (entries_.size() >= MaxEntries)
        throw Error(err::Overflow, QStringLiteral("The lexicon is full: it holds at most %1 words.").arg(MaxEntries));
    entries_.insert(lowerBound(folded), {w, s});
    rebuildIndex();
}

bool Lexicon::remove(const QString &word)
{
    const auto it = byFoldedWord_.constFind(word.trimmed().toCaseFolded());
    if (it == byFoldedWord_.cend())
        return false;
    entries_.removeAt(*it);
    rebuildIndex();
    return true;
}

void Lexicon::clear()
{
    entries_.clear();
    rebuildIndex();
}

QString Lexicon::sayAs(const QString &word) const
{
    const auto it = byFoldedWord_.constFind(word.trimmed().toCaseFolded());
    return it == byFoldedWord_.cend() ? QString() : entries_.at(*it).sayAs;
}

void Lexicon::rebuildIndex()
{
    byFoldedWord_.clear();
    firstUnits_.clear();
    longestWord_ = 0;
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const QString folded = entries_.at(i).word.toCaseFolded();
        byFoldedWord_.insert(folded, i);
        firstUnits_.insert(folded.at(0).unicode());
        longestWord_ = std::max(longestWord_, folded.size());
    }
}

QString Lexicon::apply(const QString &text) const
{
    if (entries_.isEmpty() || text.isEmpty())
        return text;

    // Case folding keeps the length of nearly every text; when it does not, each candidate
    // is folded on its own.
    const QString folded = text.toCaseFolded();
    const bool aligned = folded.size() == text.size();
    const auto foldedPart = [&](qsizetype from, qsizetype length) {
        return aligned ? folded.mid(from, length) : text.mid(from, length).toCaseFolded();
    };
    const auto foldedUnit = [&](qsizetype at) {
        return aligned ? folded.at(at).unicode() : text.at(at).toCaseFolded().unicode();
    };

    const char16_t *units = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    QString out;
    qsizetype copied = 0;
    qsizetype i = 0;
    while (i < n) {
        const bool mayStart = (i == 0 || !isWordUnit(units[i - 1])) && firstUnits_.contains(foldedUnit(i));
        if (mayStart) {
            // Every place within reach where a word could end, the longest match kept.
            qsizetype matchEnd = -1;
            qsizetype matchIndex = -1;
            const qsizetype reach = std::min(n, i + longestWord_);
            for (qsizetype end = i + 1; end <= reach; ++end) {
                if (end < n && isWordUnit(units[end]))
                    continue;
                const auto it = byFoldedWord_.constFind(foldedPart(i, end - i));
                if (it != byFoldedWord_.cend()) {
                    matchEnd = end;
                    matchIndex = *it;
                }
            }
            if (matchEnd > 0) {
                out.append(QStringView(text).sliced(copied, i - copied));
                out.append(entries_.at(matchIndex).sayAs);
                copied = i = matchEnd;
                continue;
            }
        }
        ++i;
    }
    if (copied == 0)
        return text;
    out.append(QStringView(text).sliced(copied));
    return out;
}

void Lexicon::load(const QString &file)
{
    const auto notALexicon = [&](const QString &why) {
        return Error(speech_err::InvalidFileFormat,
                     QStringLiteral("%1 does not hold pronunciations: %2").arg(QDir::toNativeSeparators(file), why));
    };
    // Opened without blocking and refused unless it is a plain file: a pipe there would
    // hold the speech engine's start for ever, and a link to a device be read for ever.
    QByteArray bytes;
    const safefile::ReadResult fileRead = safefile::readWholeFile(file, LargestFile, bytes);
    switch (fileRead.failure) {
    case safefile::ReadFailure::None:
        break;
    case safefile::ReadFailure::System:
        if (fileRead.errnum == ENOENT) {
            clear();
            return;
        }
        throw Error(fileRead.errnum == EACCES || fileRead.errnum == EPERM ? err::PermissionDenied : err::PathFileAccess,
                    QStringLiteral("Could not read the pronunciations in %1: %2")
                        .arg(QDir::toNativeSeparators(file), fileRead.reason()));
    case safefile::ReadFailure::NotPlainFile:
        throw notALexicon(QStringLiteral("it is %1.").arg(fileRead.reason()));
    case safefile::ReadFailure::TooLarge:
        throw notALexicon(QStringLiteral("the file is %1.").arg(fileRead.reason()));
    }

    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw notALexicon(parseError.errorString());
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QLatin1String(FormatKey)).toInt() != FormatVersion ||
        !root.value(QStringLiteral("entries")).isArray())
        throw notALexicon(QStringLiteral("it is not a lexicon of this program."));

    // Entries that do not make sense (empty, too long, not text) are left out rather than
    // losing the rest; of a word given twice the later entry counts.
    QHash<QString, Entry> byWord;
    for (const auto &v : root.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject e = v.toObject();
        try {
            const QString word = checked(e.value(QStringLiteral("word")).toString(), "word");
            const QString sayAs = checked(e.value(QStringLiteral("sayAs")).toString(), "pronunciation");
            const QString key = word.toCaseFolded();
            if (byWord.size() >= MaxEntries && !byWord.contains(key))
                break;
            byWord.insert(key, {word, sayAs});
        } catch (const Error &) {
        }
    }
    QList<QString> keys = byWord.keys();
    std::sort(keys.begin(), keys.end());
    Lexicon read;
    read.entries_.reserve(keys.size());
    for (const QString &k : keys)
        read.entries_.append(byWord.value(k));
    read.rebuildIndex();
    *this = std::move(read);
}

void Lexicon::save(const QString &file) const
{
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        throw Error(
            err::PathNotFound,
            QStringLiteral("Could not create the folder %1").arg(QDir::toNativeSeparators(info.absolutePath())));

    QJsonArray list;
    for (const Entry &e : entries_)
        list.append(QJsonObject{{QStringLiteral("word"), e.word}, {QStringLiteral("sayAs"), e.sayAs}});
    const QJsonObject root{{QLatin1String(FormatKey), FormatVersion}, {QStringLiteral("entries"), list}};
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);

    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        throw speech_err::fileError(f, file, QStringLiteral("save the pronunciations to"));
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw speech_err::fileError(f, file, QStringLiteral("save the pronunciations to"));
}

}  // namespace jabbly
