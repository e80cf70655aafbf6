// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The transcript writers on a real QTextEdit (offscreen).
#include "ui/TextEditTranscript.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace jabbly;

namespace {

struct Piece {
    QString text;
    QColor colour;
    bool operator==(const Piece &) const = default;
};

// Coloured runs of the transcript, line by line.
QList<QList<Piece>> lines(const QTextDocument &doc)
{
    QList<QList<Piece>> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QList<Piece> runs;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QColor c = f.charFormat().foreground().color();
            if (!runs.isEmpty() && runs.last().colour == c)
                runs.last().text += f.text();
            else
                runs.append({f.text(), c});
        }
        out.append(runs);
    }
    return out;
}

std::ostream &operator<<(std::ostream &os, const Piece &r)
{
    return os << '"' << r.text.toStdString() << "\" " << r.colour.name().toStdString();
}

class TranscriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        edit = std::make_unique<QTextEdit>();
        edit->resize(300, 120);
        WW = std::make_unique<TextEditTranscript>(edit.get());
    }

    QTextDocument &doc() { return *edit->document(); }

    std::unique_ptr<QTextEdit> edit;
    std::unique_ptr<TextEditTranscript> WW;
};

TEST_F(TranscriptTest, EditIsReadOnlyButSelectable)
{
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_TRUE(edit->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_TRUE(edit->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_FALSE(edit->textInteractionFlags() & Qt::TextEditable);
}

TEST_F(TranscriptTest, UserAndReplyLinesGetTheirColoursOnNewLines)
{
    WW->insName("Human: ");
    WW->insSayPerson("I like cats");
    WW->insName("CPU: ");
    WW->insSayCPU("Cats are fine.");
    WW->insCommand("COMMAND: [TIME] - 09:05:03 PM");

    EXPECT_EQ(WW->text(), "\r\nHuman: I like cats\r\nCPU: Cats are fine.\r\nCOMMAND: [TIME] - 09:05:03 PM");
    const auto l = lines(doc());
    ASSERT_EQ(l.size(), 4);
    EXPECT_TRUE(l[0].isEmpty());
    EXPECT_EQ(l[1], (QList<Piece>{{"Human: ", QColor(0, 0, 255)}, {"I like cats", QColor(255, 0, 0)}}));
    EXPECT_EQ(l[2], (QList<Piece>{{"CPU: ", QColor(0, 0, 255)}, {"Cats are fine.", QColor(0, 128, 0)}}));
    EXPECT_EQ(l[3], (QList<Piece>{{"COMMAND: [TIME] - 09:05:03 PM", QColor(0, 192, 192)}}));
}

TEST_F(TranscriptTest, WordsWritersContinueTheLineAndLineStartersBreakIt)
{
    WW->insSayPerson("a");
    WW->insSayCPU("b");
    WW->insName("c");
    WW->insCommand("d");
    EXPECT_EQ(WW->text(), "ab\r\nc\r\nd");
    const auto l = lines(doc());
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[0], (QList<Piece>{{"a", QColor(255, 0, 0)}, {"b", QColor(0, 128, 0)}}));
}

TEST_F(TranscriptTest, EmptyTexts)
{
    WW->insSayPerson("");
    WW->insSayCPU("");
    EXPECT_EQ(WW->text(), "");
    WW->insName("");
    WW->insCommand("");
    EXPECT_EQ(WW->text(), "\r\n\r\n");
    EXPECT_EQ(WW->length(), 4);
}

TEST_F(TranscriptTest, LineBreaksInsideATextBecomeLines)
{
    WW->insSayCPU("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(WW->text(), "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(doc().blockCount(), 4);
    for (const auto &line : lines(doc()))
        for (const Piece &r : line)
            EXPECT_EQ(r.colour, QColor(0, 128, 0));
}

TEST_F(TranscriptTest, TextKeepsEveryCharacterAndLengthMatchesIt)
{
    EXPECT_EQ(WW->length(), 0);
    WW->insVersionLine();
    WW->insName("Zoë: ");
    const QString typed = QString("£ and \t tab,") + QChar(0x00A0) + "no-break " + QChar(0x2028) + " line separator";
    WW->insSayPerson(typed);
    WW->insCommand("x");
    EXPECT_EQ(WW->text(), versionLine() + "\r\nZoë: " + typed + "\r\nx");
    EXPECT_EQ(WW->length(), WW->text().size());
}

TEST_F(TranscriptTest, EveryWriteDropsTheSelectionAndEndsAtTheEnd)
{
    WW->insName("Human: ");
    WW->insSayPerson("select some of this");
    QTextCursor c(&doc());
    c.setPosition(3);
    c.setPosition(10, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    ASSERT_TRUE(edit->textCursor().hasSelection());

    WW->insSayCPU(" more");
    EXPECT_FALSE(edit->textCursor().hasSelection());
    EXPECT_TRUE(edit->textCursor().atEnd());
    // The write went to the end, not over the selection.
    EXPECT_EQ(WW->text(), "\r\nHuman: select some of this more");
}

TEST_F(TranscriptTest, WritesScrollToTheLastLine)
{
    edit->show();
    for (int i = 0; i < 200; ++i) {
        WW->insName("CPU: ");
        WW->insSayCPU(QString::number(i));
    }
    QScrollBar *bar = edit->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    WW->insName("Human: ");
    WW->insSayPerson("last");
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(edit->viewport()->rect().contains(edit->cursorRect())) << "the last line is in view";
}

TEST_F(TranscriptTest, VersionLineIsTealWithoutLineBreaks)
{
    WW->insVersionLine();
    EXPECT_EQ(WW->text(), versionLine());
    EXPECT_TRUE(versionLine().startsWith("Jabbly version 2.3.10.  By "));
    const auto l = lines(doc());
    ASSERT_EQ(l.size(), 1);
    EXPECT_EQ(l[0], (QList<Piece>{{versionLine(), QColor(0, 192, 192)}}));
}

TEST_F(TranscriptTest, ClearEmptiesAndTheNextVersionLineIsTheFirstLine)
{
    WW->insVersionLine();
    WW->insName("Human: ");
    WW->insSayPerson("hi");
    WW->clear();
    EXPECT_EQ(WW->text(), "");
    EXPECT_EQ(WW->length(), 0);
    WW->insVersionLine();
    WW->insName("CPU: ");
    EXPECT_EQ(WW->text(), versionLine() + "\r\nCPU: ");
}

TEST_F(TranscriptTest, FontAppliesToOldAndNewTextAndSurvivesClear)
{
    WW->insName("Human: ");
    WW->insSayPerson("before");
    QFont font(QStringLiteral("Courier"), 17);
    font.setBold(true);
    WW->setTranscriptFont(font);
    WW->insName("CPU: ");
    WW->insSayCPU("after");

    const auto check = [&](const char *when) {
        for (QTextBlock b = doc().begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                // The font each piece is drawn in.
                const QFont f = it.fragment().charFormat().font().resolve(doc().defaultFont());
                EXPECT_EQ(f.pointSize(), 17) << when << " " << it.fragment().text().toStdString();
                EXPECT_TRUE(f.bold()) << when;
                EXPECT_FALSE(f.italic()) << when;
                EXPECT_EQ(f.family(), "Courier") << when;
            }
    };
    check("after setTranscriptFont");
    // Colours are kept.
    EXPECT_EQ(lines(doc())[1][1].colour, QColor(255, 0, 0));

    // A new desktop font leaves the chosen one alone.
    const QFont desktop = QApplication::font();
    QFont italic(QStringLiteral("DejaVu Serif"), 30);
    italic.setItalic(true);
    QApplication::setFont(italic);
    QCoreApplication::sendPostedEvents();
    check("after a new desktop font");
    QApplication::setFont(desktop);
    QCoreApplication::sendPostedEvents();

    WW->clear();
    WW->insVersionLine();
    WW->insName("Human: ");
    check("after clear");
}

}  // namespace

namespace {

// Line starts and heights of every paragraph of an edit's document, as its layout broke them.
struct LaidOut {
    QList<QList<int>> starts;
    QList<qreal> tops;
    QList<QList<qreal>> lineYs;
};

LaidOut laidOut(QTextEdit &edit)
{
    LaidOut out;
    QTextDocument *doc = edit.document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QList<int> starts;
        QList<qreal> ys;
        for (int i = 0; i < b.layout()->lineCount(); ++i) {
            starts.append(b.layout()->lineAt(i).textStart());
            ys.append(b.layout()->lineAt(i).y());
        }
        out.starts.append(starts);
        out.lineYs.append(ys);
        out.tops.append(doc->documentLayout()->blockBoundingRect(b).top());
    }
    return out;
}

// The transcript's own layout breaks lines exactly where Qt's layout does, for ordinary words
// and for runs that have to be broken anywhere (short enough here for Qt's layout to manage).
TEST(TranscriptLayout, LinesBreakWhereQtsOwnLayoutBreaksThem)
{
    QString longWord;
    for (int i = 0; i < 3000; ++i)
        longWord += QChar(char16_t(u'a' + i % 26));
    QString cjk, korean;
    for (int i = 0; i < 600; ++i) {
        cjk += QChar(char16_t(0x4E00 + (i * 37) % 2000));
        korean += QChar(char16_t(0xAC00 + (i * 53) % 11000));
    }
    const QStringList paragraphs{
        "The quick brown fox jumps over the lazy dog, again and again, until the line wraps at least twice or more.",
        longWord,
        "words before " + longWord + " and words after it, quite a few of them to fill a line",
        "short " + longWord.left(200) + " x " + longWord.left(150) + "/" + longWord.left(300),
        cjk,
        korean + " " + korean,
        QString(400, u' ') + "after blanks" + QString(300, QChar(0x00A0)) + "x",
        "tab\tseparated\twords\t" + longWord.left(500) + "\t" + longWord.left(500),
        "https://example.com/" + longWord.left(400) + "?q=" + longWord.left(400) + "&x=1-2-3-" + longWord.left(300),
        "",
    };
    for (int width : {120, 300, 701, 1900}) {
        QTextEdit qt, ours;
        TextEditTranscript transcript(&ours);
        for (QTextEdit *e : {&qt, &ours}) {
            e->resize(width, 200);
            e->show();
        }
        QTextCursor c(qt.document());
        for (int i = 0; i < paragraphs.size(); ++i) {
            if (i > 0)
                c.insertBlock();
            c.insertText(paragraphs[i]);
            i == 0 ? transcript.insSayPerson(paragraphs[i]) : transcript.insName(paragraphs[i]);
        }
        ASSERT_EQ(transcript.text(), paragraphs.join("\r\n"));
        qt.document()->documentLayout()->documentSize();  // lays Qt's document out to the end
        const LaidOut a = laidOut(qt), b = laidOut(ours);
        for (int i = 0; i < paragraphs.size(); ++i) {
            EXPECT_EQ(a.starts[i], b.starts[i]) << "width " << width << " paragraph " << i;
            EXPECT_EQ(a.lineYs[i], b.lineYs[i]) << "width " << width << " paragraph " << i;
            EXPECT_EQ(a.tops[i], b.tops[i]) << "width " << width << " paragraph " << i;
        }
        EXPECT_EQ(qt.document()->documentLayout()->documentSize(), ours.document()->documentLayout()->documentSize());
    }
}

// A size change over many lines: the end, which the view shows, is laid out at once; the rest
// follows between events, and then every line is where Qt's own layout puts it, the lines
// written meanwhile too, and the view still shows the end.
TEST(TranscriptLayout, ASizeChangeOfManyLinesShowsTheEndAtOnceAndTheRestLater)
{
    QTextEdit qt, ours;
    TextEditTranscript transcript(&ours);
    for (QTextEdit *e : {&qt, &ours}) {
        e->resize(300, 200);
        e->show();
    }
    QTextCursor c(qt.document());
    const auto write = [&](int i) {
        const QString label = QStringLiteral("Human: ");
        const QString line =
            i % 7 == 0
                ? QStringLiteral("a longer line, number %1, that wraps in a narrow window at least once or twice")
                      .arg(i)
                : QStringLiteral("line %1").arg(i);
        c.insertBlock();
        c.insertText(label);
        c.insertText(line);
        transcript.insName(label);
        transcript.insSayPerson(line);
    };
    for (int i = 0; i < 3000; ++i)
        write(i);

    QTextCharFormat size;
    size.setFontPointSize(19);
    QTextCursor all(qt.document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(size);
    all.mergeBlockCharFormat(size);
    transcript.setTranscriptPointSize(19);
    qt.document()->documentLayout()->documentSize();  // lays Qt's document out to the end

    ASSERT_TRUE(transcript.layingOut());
    const int last = qt.document()->blockCount() - 1;
    EXPECT_EQ(laidOut(ours).lineYs[last], laidOut(qt).lineYs[last]);
    QScrollBar *bar = ours.verticalScrollBar();
    const auto endInView = [&] {
        const QRectF end = ours.document()->documentLayout()->blockBoundingRect(ours.document()->lastBlock());
        return end.top() >= bar->value() && end.bottom() <= bar->value() + ours.viewport()->height();
    };
    EXPECT_TRUE(endInView());

    write(3000);  // a turn while the rest is laid out
    for (int polls = 0; transcript.layingOut() && polls < 100000; ++polls)
        QCoreApplication::processEvents();
    ASSERT_FALSE(transcript.layingOut());
    QCoreApplication::processEvents();

    qt.document()->documentLayout()->documentSize();
    const LaidOut a = laidOut(qt), b = laidOut(ours);
    ASSERT_EQ(a.tops.size(), b.tops.size());
    for (int i = 0; i < a.tops.size(); ++i) {
        ASSERT_EQ(a.starts[i], b.starts[i]) << "paragraph " << i;
        ASSERT_EQ(a.tops[i], b.tops[i]) << "paragraph " << i;
    }
    EXPECT_EQ(qt.document()->documentLayout()->documentSize(), ours.document()->documentLayout()->documentSize());

    // A clear while the rest is still to come leaves nothing behind.
    transcript.setTranscriptPointSize(9);
    EXPECT_TRUE(transcript.layingOut());
    transcript.clear();
    EXPECT_FALSE(transcript.layingOut());
    transcript.insVersionLine();
    EXPECT_EQ(ours.document()->documentLayout()->blockBoundingRect(ours.document()->begin()).top(),
              qt.document()->documentLayout()->blockBoundingRect(qt.document()->begin()).top());
}

TEST_F(TranscriptTest, ABatchIsLaidOutOnceAndWritesWhatSingleWritesWould)
{
    QTextEdit single;
    single.resize(300, 120);
    TextEditTranscript unbatched(&single);
    edit->show();
    for (int i = 0; i < 30; ++i) {
        WW->insName("Human: ");
        WW->insSayPerson(QString("line %1").arg(i));
        unbatched.insName("Human: ");
        unbatched.insSayPerson(QString("line %1").arg(i));
    }
    edit->verticalScrollBar()->setValue(0);
    QTextCursor c(&doc());
    c.setPosition(3);
    c.setPosition(10, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);

    QSignalSpy changes(&doc(), &QTextDocument::contentsChange);
    {
        Transcript::Batch batch(*WW);
        WW->insName("Human: ");
        WW->insSayPerson("a line\r\nof two");
        {
            Transcript::Batch inner(*WW);
            WW->insName("CPU: ");
        }
        EXPECT_TRUE(edit->textCursor().hasSelection()) << "the view waits for the batch";
        WW->insSayCPU("the reply");
        WW->insCommand("");
        EXPECT_EQ(changes.count(), 0);
    }
    EXPECT_EQ(changes.count(), 1);
    unbatched.insName("Human: ");
    unbatched.insSayPerson("a line\r\nof two");
    unbatched.insName("CPU: ");
    unbatched.insSayCPU("the reply");
    unbatched.insCommand("");
    EXPECT_EQ(WW->text(), unbatched.text());
    EXPECT_EQ(lines(doc()), lines(*single.document()));
    EXPECT_FALSE(edit->textCursor().hasSelection());
    EXPECT_TRUE(edit->textCursor().atEnd());
    EXPECT_TRUE(edit->viewport()->rect().contains(edit->cursorRect())) << "the last line is in view";
}

TEST_F(TranscriptTest, ALongWordWrapsAtTheWidthAndReadsBackUnchanged)
{
    edit->show();
    QString word;
    for (int i = 0; i < 20000; ++i)
        word += QChar(char16_t(u'a' + (i * 7) % 26));
    WW->insName("Human: ");
    WW->insSayPerson(word);
    WW->insSayCPU(" and " + word.left(500) + " end");
    EXPECT_EQ(WW->text(), "\r\nHuman: " + word + " and " + word.left(500) + " end");
    EXPECT_EQ(WW->length(), WW->text().size());

    const QTextBlock block = doc().lastBlock();
    const QTextLayout *layout = block.layout();
    const qreal width = doc().documentLayout()->blockBoundingRect(block).width();
    ASSERT_GT(layout->lineCount(), 20);
    int next = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        EXPECT_EQ(line.textStart(), next) << "line " << i;
        EXPECT_LE(line.naturalTextWidth(), width) << "line " << i;
        EXPECT_GT(line.textLength(), 0) << "line " << i;
        next = line.textStart() + line.textLength();
    }
    EXPECT_EQ(next, block.length() - 1);
    // The word's lines are full: the next character would not have fitted.
    const QTextLine second = layout->lineAt(1);
    EXPECT_GT(second.naturalTextWidth() + QFontMetricsF(edit->font()).horizontalAdvance(u'm'), width);
    // The words after it still wrap at word boundaries: "end" is never cut.
    const QString text = block.text();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        EXPECT_FALSE(text.mid(line.textStart(), line.textLength()).endsWith("en")) << "line " << i;
    }
}

TEST_F(TranscriptTest, ClicksFindTheCharacterUnderThemAsInQtsOwnLayout)
{
    QString word;
    for (int i = 0; i < 3000; ++i)
        word += QChar(char16_t(u'a' + i % 26));
    WW->insVersionLine();
    WW->insName("Human: ");
    WW->insSayPerson("short words " + word + " more words");
    WW->insName("CPU: ");
    WW->insSayCPU("the end");
    QTextEdit qt;  // the same document in Qt's own layout
    qt.setDocument(doc().clone(&qt));
    for (QTextEdit *e : {&qt, edit.get()}) {
        e->setReadOnly(true);
        e->resize(300, 120);
        e->show();
    }
    ASSERT_EQ(qt.verticalScrollBar()->maximum(), edit->verticalScrollBar()->maximum());
    for (int scroll : {0, 200, 1000, edit->verticalScrollBar()->maximum()}) {
        qt.verticalScrollBar()->setValue(scroll);
        edit->verticalScrollBar()->setValue(scroll);
        for (int y = -3; y < 125; y += 4)
            for (int x = -3; x < 300; x += 7)
                ASSERT_EQ(edit->cursorForPosition({x, y}).position(), qt.cursorForPosition({x, y}).position())
                    << "scrolled " << scroll << " at " << x << "," << y;
        QTextCursor at(&doc()), qtAt(qt.document());
        at.setPosition(2500);
        qtAt.setPosition(2500);
        EXPECT_EQ(edit->cursorRect(at), qt.cursorRect(qtAt)) << scroll;

        // And they look the same, with a selection across lines too.
        at.setPosition(40);
        at.setPosition(2900, QTextCursor::KeepAnchor);
        qtAt.setPosition(40);
        qtAt.setPosition(2900, QTextCursor::KeepAnchor);
        edit->setTextCursor(at);
        qt.setTextCursor(qtAt);
        qt.verticalScrollBar()->setValue(scroll);
        edit->verticalScrollBar()->setValue(scroll);
        EXPECT_TRUE(edit->viewport()->grab().toImage() == qt.viewport()->grab().toImage()) << "scrolled " << scroll;
    }
}

}  // namespace
