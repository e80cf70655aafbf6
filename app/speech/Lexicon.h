// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's pronunciations: words and how to say them, applied to every text before it
// is spoken, kept per user in a small JSON file.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace jabbly {

class Lexicon {
public:
    struct Entry {
        QString word;   // as the user typed it
        QString sayAs;  // what is spoken in its place
        friend bool operator==(const Entry &, const Entry &) = default;
    };

    static constexpr int MaxEntries = 10000;
    static constexpr int MaxLength = 200;

    // lexicon.json in the per-user configuration folder of the application
    // (QStandardPaths::AppConfigLocation), as named by the application's organisation and
    // name at the time of the call.
    static QString defaultFile();

    // Adds the pronunciation of `word`, or replaces it when the word is there already
    // (letter case ignored). Both texts are trimmed; an empty one, one with a line break or
    // a tab, or one longer than MaxLength fails with InvalidArgument (5); a full lexicon
    // with Overflow (6). Nothing changes on failure.
    void set(const QString &word, const QString &sayAs);
    // Removes the word (letter case ignored); false when it was not there.
    bool remove(const QString &word);
    void clear();

    // The pronunciation of `word`, letter case ignored; empty when it has none.
    QString sayAs(const QString &word) const;
    // In order of the words, letter case ignored.
    const QList<Entry> &entries() const { return entries_; }
    int size() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }

    // The text with each whole occurrence of a word replaced by its pronunciation: letter
    // case is ignored, and an occurrence counts only where no letter, digit or underscore
    // touches it on either side. Where two words could start at the same place, the longer
    // wins; replacements are not looked at again.
    QString apply(const QString &text) const;

    // Reads the file. A file that does not exist gives an empty lexicon. A file that cannot
    // be read fails with its file error; one that is not a lexicon (also a pipe, a device
    // or a file over 16 MiB, none of which is read) with InvalidFileFormat (321). The
    // lexicon is unchanged on failure.
    void load(const QString &file);
    // Writes the file through a temporary file renamed over the old one, creating the
    // folder when needed. On failure the old file stays as it was and an Error tells why.
    void save(const QString &file) const;

    friend bool operator==(const Lexicon &a, const Lexicon &b) { return a.entries_ == b.entries_; }

private:
    void rebuildIndex();
    qsizetype lowerBound(const QString &folded) const;

    QList<Entry> entries_;
    QHash<QString, qsizetype> byFoldedWord_;  // case-folded word -> index in entries_
    QSet<char16_t> firstUnits_;               // first code unit of every folded word
    qsizetype longestWord_ = 0;
};

}  // namespace jabbly
