// The transcript writers on a real QTextEdit (offscreen).
#include "TextEditTranscript.h"

#include <QScrollBar>
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
                const QTextCharFormat f = it.fragment().charFormat();
                EXPECT_EQ(f.fontPointSize(), 17) << when << " " << it.fragment().text().toStdString();
                EXPECT_EQ(f.fontWeight(), QFont::Bold) << when;
                EXPECT_EQ(f.fontFamilies().toStringList().value(0), "Courier") << when;
            }
    };
    check("after setTranscriptFont");
    // Colours are kept.
    EXPECT_EQ(lines(doc())[1][1].colour, QColor(255, 0, 0));

    WW->clear();
    WW->insVersionLine();
    WW->insName("Human: ");
    check("after clear");
}

}  // namespace
