// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TextEditTranscript.h"
#include "ui/TranscriptLayout.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <utility>

namespace jabbly {

TextEditTranscript::TextEditTranscript(QTextEdit *edit) : edit_(edit)
{
    edit_->setReadOnly(true);
    edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit_->setAcceptRichText(false);
    // The transcript only ever grows at its end; an undo history would grow with it.
    edit_->setUndoRedoEnabled(false);
    edit_->document()->setDocumentLayout(new TranscriptLayout(edit_->document()));
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
    const QTextCharFormat format = cursor.charFormat();
    cursor.removeSelectedText();
    // Keep the font in force for the next write, without a colour of its own.
    QTextCharFormat keep;
    keep.setFont(format.font());
    cursor.setBlockCharFormat(keep);
    cursor.setCharFormat(keep);
    edit_->setTextCursor(cursor);
}

void TextEditTranscript::insVersionLine() { write(colours::Command, false, versionLine()); }

void TextEditTranscript::setTranscriptFont(const QFont &font)
{
    edit_->document()->setDefaultFont(font);
    QTextCharFormat fontOnly;
    fontOnly.setFont(font, QTextCharFormat::FontPropertiesAll);
    mergeIntoWholeText(fontOnly);
}

void TextEditTranscript::setTranscriptFamily(const QString &family)
{
    QTextDocument *doc = edit_->document();
    QFont font = doc->defaultFont();
    font.setFamilies({family});
    // The first font's monospace hint was for a machine without it; a family the user
    // picked from the display's own list needs no hint.
    font.setStyleHint(QFont::AnyStyle);
    font.setBold(false);
    font.setItalic(false);
    doc->setDefaultFont(font);

    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontStyleHint(QFont::AnyStyle);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    mergeIntoWholeText(format);
}

void TextEditTranscript::setTranscriptPointSize(int points)
{
    QTextDocument *doc = edit_->document();
    QFont font = doc->defaultFont();
    font.setPointSize(points);
    doc->setDefaultFont(font);

    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeIntoWholeText(format);
}

void TextEditTranscript::mergeIntoWholeText(const QTextCharFormat &format)
{
    QTextCursor cursor(edit_->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
    cursor.mergeBlockCharFormat(format);
    cursor.endEditBlock();

    // Caret at the end, nothing selected: later lines continue in the merged format.
    cursor.movePosition(QTextCursor::End);
    edit_->setTextCursor(cursor);
}

}  // namespace jabbly
