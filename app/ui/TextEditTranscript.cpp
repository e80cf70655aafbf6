// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TextEditTranscript.h"
#include "ui/TranscriptLayout.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <utility>

namespace jabbly {

namespace {

// Holds the transcript's layout for as long as it lives (see TranscriptLayout::hold).
class LayoutHold {
public:
    explicit LayoutHold(QTextDocument *document) : layout_(dynamic_cast<TranscriptLayout *>(document->documentLayout()))
    {
        if (layout_)
            layout_->hold();
    }
    ~LayoutHold()
    {
        if (layout_)
            layout_->release();
    }
    LayoutHold(const LayoutHold &) = delete;
    LayoutHold &operator=(const LayoutHold &) = delete;

private:
    TranscriptLayout *layout_;
};

}  // namespace

TextEditTranscript::TextEditTranscript(QTextEdit *edit) : edit_(edit)
{
    edit_->setReadOnly(true);
    edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit_->setAcceptRichText(false);
    // The transcript only ever grows at its end; an undo history would grow with it.
    edit_->setUndoRedoEnabled(false);
    auto *layout = new TranscriptLayout(edit_->document());
    // When the rest of a change of many lines is laid out, the text in view may move: the view
    // moves along, so that it keeps showing the caret (the end, after a font change).
    layout->onMoved = [edit = edit_](qreal from, qreal) {
        // The caret stays at the end of the transcript; once the edit has taken in the new
        // size, the view goes back to it.
        QScrollBar *bar = edit->verticalScrollBar();
        if (bar->value() + edit->viewport()->height() > from)
            QTimer::singleShot(0, edit, [edit] { edit->ensureCursorVisible(); });
    };
    edit_->document()->setDocumentLayout(layout);
}

bool TextEditTranscript::layingOut() const
{
    const auto *layout = dynamic_cast<const TranscriptLayout *>(edit_->document()->documentLayout());
    return layout && layout->layingOut();
}

void TextEditTranscript::finishLayout()
{
    if (auto *layout = dynamic_cast<TranscriptLayout *>(edit_->document()->documentLayout()))
        layout->finish();
}

void TextEditTranscript::insCommand(const QString &text)
{
    answered(text);
    write(colours::Command, true, text);
}

void TextEditTranscript::insName(const QString &text)
{
    label_ = text;
    write(colours::Name, true, text);
}

void TextEditTranscript::insSayPerson(const QString &text) { write(colours::SayPerson, false, text); }

void TextEditTranscript::insSayCPU(const QString &text)
{
    answered(label_ + text);
    write(colours::SayCPU, false, text);
}

void TextEditTranscript::answered(const QString &line)
{
    if (!answerListener_)
        return;
    if (!answers_.isEmpty())
        answers_ += u'\n';
    answers_ += line;
}

void TextEditTranscript::passOnAnswers()
{
    if (answers_.isEmpty())
        return;
    const QString said = std::exchange(answers_, QString());
    answerListener_(said);
}

void TextEditTranscript::write(TextColour colour, bool newLine, const QString &text)
{
    QTextCursor cursor(edit_->document());
    cursor.movePosition(QTextCursor::End);

    // The font in force at the end of the transcript, in the writer's colour.
    QTextCharFormat format = cursor.charFormat();
    format.setForeground(toQColor(colour));

    // One edit block (inside a batch's, if one is open): the document is laid out once for it.
    cursor.beginEditBlock();
    if (newLine)
        cursor.insertBlock(cursor.blockFormat(), format);
    if (!text.isEmpty()) {
        // Line breaks inside the text (CR LF, LF or CR) become line breaks of the
        // transcript, that is new paragraphs.
        if (text.contains(u'\r')) {
            QString lines = text;
            lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            lines.replace(u'\r', u'\n');
            cursor.insertText(lines, format);
        } else {
            cursor.insertText(text, format);
        }
    }
    cursor.endEditBlock();
    if (batchDepth_ == 0) {
        showEnd();
        passOnAnswers();
    }
}

void TextEditTranscript::showEnd()
{
    // Insertion point at the end: drops the user's selection and scrolls to the last line.
    QTextCursor cursor(edit_->document());
    cursor.movePosition(QTextCursor::End);
    edit_->setTextCursor(cursor);
    edit_->ensureCursorVisible();
}

void TextEditTranscript::beginBatch()
{
    if (batchDepth_++ > 0)
        return;
    batch_ = QTextCursor(edit_->document());
    batch_.beginEditBlock();
}

void TextEditTranscript::endBatch()
{
    if (batchDepth_ == 0 || --batchDepth_ > 0)
        return;
    batch_.endEditBlock();
    batch_ = QTextCursor();
    showEnd();
    passOnAnswers();
}

QString TextEditTranscript::text() const
{
    // The raw text keeps every character as written (toPlainText would turn no-break
    // spaces into blanks); paragraphs are the transcript's lines.
    QString raw = edit_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return raw;
}

qsizetype TextEditTranscript::length() const
{
    const QTextDocument *doc = edit_->document();
    // characterCount() counts each paragraph separator once plus one final separator; the
    // program reads each separator as the two characters CR LF.
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

void TextEditTranscript::clear()
{
    QTextCursor cursor(edit_->document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    // The next write starts without a colour; the font stays the document's own.
    cursor.setBlockCharFormat(QTextCharFormat());
    cursor.setCharFormat(QTextCharFormat());
    edit_->setTextCursor(cursor);
}

void TextEditTranscript::insVersionLine() { write(colours::Command, false, versionLine()); }

void TextEditTranscript::setTranscriptFont(const QFont &font) { setWholeTextFont(font); }

void TextEditTranscript::setTranscriptFamily(const QString &family)
{
    QFont font = edit_->document()->defaultFont();
    font.setFamilies({family});
    // The first font's monospace hint was for a machine without it; a family the user
    // picked from the display's own list needs no hint.
    font.setStyleHint(QFont::AnyStyle);
    font.setBold(false);
    font.setItalic(false);
    setWholeTextFont(font);
}

void TextEditTranscript::setTranscriptPointSize(int points)
{
    QFont font = edit_->document()->defaultFont();
    font.setPointSize(points);
    setWholeTextFont(font);
}

void TextEditTranscript::setWholeTextFont(QFont font)
{
    // The transcript's text carries its colours only, and is drawn in its document's default
    // font, which the edit sets from its own font. A new font is therefore one change, however
    // long the transcript: the layout lays out the lines in view at once and the rest between
    // events. Every property is the transcript's own, so that the desktop's font, should it
    // change, leaves the user's choice alone.
    font.setResolveMask(QFont::AllPropertiesResolved);
    QTextDocument *doc = edit_->document();
    {
        const LayoutHold hold(doc);
        edit_->setFont(font);
    }

    // Caret at the end, nothing selected.
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    edit_->setTextCursor(cursor);
}

}  // namespace jabbly
