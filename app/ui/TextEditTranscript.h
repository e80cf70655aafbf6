// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transcript over a QTextEdit that the main window owns. The edit is made read-only
// for typing but stays selectable; each line of the transcript is one paragraph of its
// document. The document is laid out by the transcript's own layout: paragraphs wrap at
// word boundaries like Qt's, and a run of text without a break opportunity is wrapped
// anywhere in time that grows with its length only.

#include "conversation/Transcript.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>

#include <functional>

class QTextEdit;

namespace jabbly {

class TextEditTranscript : public Transcript {
public:
    explicit TextEditTranscript(QTextEdit *edit);

    void insCommand(const QString &text) override;
    void insName(const QString &text) override;
    void insSayPerson(const QString &text) override;
    void insSayCPU(const QString &text) override;

    // The whole text as the program reads it: lines separated by CR LF.
    QString text() const;
    // Length of text(), without building it.
    qsizetype length() const;
    // Empties the transcript; the font set with setTranscriptFont stays in force.
    void clear();
    // Appends the version line in teal, with no line break before it (start-up and Clear,
    // both on an empty transcript).
    void insVersionLine();
    // Sets the font (family, size, bold, italic, ...) of the whole text and of everything
    // written later. Colours are kept.
    void setTranscriptFont(const QFont &font);
    // The font window's two choices, each over the whole text and everything written later:
    // a font family (bold and italic off), and a point size. Colours are kept.
    void setTranscriptFamily(const QString &family);
    void setTranscriptPointSize(int points);

    // After a change of many lines (a font or size, a new width), the lines in view are laid
    // out at once and the rest in short steps between events: whether some are still to come,
    // and laying them out now.
    bool layingOut() const;
    void finishLayout();

    QTextEdit *edit() const { return edit_; }

    // Called with what Jabbly says in the transcript (a reply with its label, a command's
    // answer, each line on its own line), once per write, or once for a whole batch when
    // it ends. The user's own lines and the version line are not passed on.
    void setAnswerListener(std::function<void(const QString &)> listener) { answerListener_ = std::move(listener); }

protected:
    // Keeps one edit block open for the batch: the document is laid out once, when it ends,
    // and the view then scrolls to the end once.
    void beginBatch() override;
    void endBatch() override;

private:
    void write(TextColour colour, bool newLine, const QString &text);
    void setWholeTextFont(QFont font);
    void showEnd();
    void answered(const QString &line);
    void passOnAnswers();

    QTextEdit *edit_;
    QTextCursor batch_;
    int batchDepth_ = 0;
    std::function<void(const QString &)> answerListener_;
    QString label_;    // the last speaker's label written
    QString answers_;  // what Jabbly said since the listener was last called
};

inline QColor toQColor(TextColour c) { return QColor(c.red, c.green, c.blue); }

}  // namespace jabbly
