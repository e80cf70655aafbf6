// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer, read back by an independent reader: unrtf turns our RTF into HTML, and
// Qt's HTML reader turns that into runs of text with their colour and font.
#include "ui/RtfWriter.h"
#include "ui/TextEditTranscript.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace jabbly;

namespace {

struct TextRun {
    QString text;
    QColor colour;
    QString family;
    double points = 0;
};

struct ReadBack {
    QStringList lines;    // the text, line by line
    QList<TextRun> runs;  // the text in runs of one colour and font, line breaks left out
    QString error;
};

// What unrtf reads in `rtf`.
ReadBack readWithUnrtf(const QByteArray &rtf)
{
    ReadBack out;
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty()) {
        out.error = QStringLiteral("unrtf is not installed (scripts/install-deps.sh installs it)");
        return out;
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("t.rtf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
        out.error = QStringLiteral("cannot write ") + file.fileName();
        return out;
    }
    file.close();
    QProcess process;
    process.start(unrtf, {QStringLiteral("--html"), file.fileName()});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        out.error = QStringLiteral("unrtf failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return out;
    }
    QString html = QString::fromUtf8(process.readAllStandardOutput());
    // unrtf starts a new source line after each <br> and after a tab's run of no-break
    // spaces; only <br> is a line break.
    html.remove(u'\n');

    QTextDocument doc;
    doc.setHtml(html);
    QString all;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            const QFont font = format.font();
            QString text = f.text();
            all += text;
            text.remove(QChar::LineSeparator);
            if (text.isEmpty())
                continue;
            const TextRun run{text, format.foreground().color(), font.family(), font.pointSizeF()};
            if (!out.runs.isEmpty() && out.runs.last().colour == run.colour && out.runs.last().family == run.family &&
                out.runs.last().points == run.points)
                out.runs.last().text += text;
            else
                out.runs.append(run);
        }
    }
    out.lines = all.split(QChar::LineSeparator);
    // unrtf ends every paragraph with <br>; the last paragraph of ours has none.
    if (!out.lines.isEmpty() && out.lines.last().isEmpty())
        out.lines.removeLast();
    return out;
}

// A line as unrtf shows it: a run of blanks as one blank, and a tab as no-break spaces up
// to the next multiple of eight columns.
QString asUnrtfShowsIt(const QString &line)
{
    QString out;
    for (const QChar c : line) {
        if (c == u' ' && out.endsWith(u' '))
            continue;
        if (c == u'\t') {
            do
                out += QChar::Nbsp;
            while (out.size() % 8 != 0);
        } else {
            out += c;
        }
    }
    return out;
}

class RtfWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFont font(QStringLiteral("Lucida Console"));
        font.setStyleHint(QFont::Monospace);
        font.setPointSizeF(11.25);
        WW.setTranscriptFont(font);
    }

    QByteArray rtf() const { return writeRtf(*edit.document()); }

    QTextEdit edit;
    TextEditTranscript WW{&edit};
};

const QColor Teal(0, 192, 192), Blue(0, 0, 255), Red(255, 0, 0), Green(0, 128, 0);

TEST_F(RtfWriterTest, WhatTheUserTypedComesBackAsTyped)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD");  // 😀 👍🏽
    const QStringList said = {
        QStringLiteral("{\\rtf1 \\par}"),
        QStringLiteral("\\'e9 and \\u233? and {\\b not bold}"),
        QString::fromUtf8("café naïve Ærøskøbing ß €"),
        QString::fromUtf8("Привет, как дела? 日本語のテキスト 한국어"),
        emoji,
        QStringLiteral("before\tafter"),
        QStringLiteral("\\"),
    };
    WW.insVersionLine();
    QStringList expected{asUnrtfShowsIt(versionLine())};
    for (const QString &line : said) {
        WW.insName(QStringLiteral("Human: "));
        WW.insSayPerson(line);
        WW.insName(QStringLiteral("CPU: "));
        WW.insSayCPU(line);
        expected << asUnrtfShowsIt(QStringLiteral("Human: ") + line) << asUnrtfShowsIt(QStringLiteral("CPU: ") + line);
    }

    const QByteArray bytes = rtf();
    // 7-bit text; one \par between two lines; the emoji as its two UTF-16 units.
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; }));
    EXPECT_EQ(bytes.count("\\par\r\n"), expected.size() - 1);
    EXPECT_TRUE(bytes.contains("\\u-10179\\'3f\\u-8704\\'3f")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("\\{\\\\rtf1 \\\\par\\}"));
    EXPECT_TRUE(bytes.contains("before\\tab after"));
    EXPECT_TRUE(bytes.contains("2.3.10.  By"));

    const ReadBack back = readWithUnrtf(bytes);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_EQ(back.lines, expected);

    // Colours: the version line in teal, then each line's label in blue and words in red
    // (the user) or green (the computer).
    ASSERT_EQ(back.runs.size(), 1 + 4 * said.size());
    EXPECT_EQ(back.runs[0].colour, Teal);
    for (qsizetype i = 0; i < said.size(); ++i) {
        const qsizetype at = 1 + 4 * i;
        EXPECT_EQ(back.runs[at].colour, Blue) << i;
        EXPECT_EQ(back.runs[at + 1].colour, Red) << i;
        EXPECT_EQ(back.runs[at + 2].colour, Blue) << i;
        EXPECT_EQ(back.runs[at + 3].colour, Green) << i;
    }
}

TEST_F(RtfWriterTest, FontsSizesAndColoursOfEachRun)
{
    WW.insVersionLine();
    WW.insName(QStringLiteral("Human: "));
    WW.insSayPerson(QStringLiteral("plain words"));
    // Part of a line in a font and a colour of its own, and a run with no colour at all.
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    QTextCharFormat serif;
    serif.setFontFamilies({QStringLiteral("DejaVu Serif")});
    serif.setFontPointSize(20);
    serif.setForeground(QColor(0x12, 0x34, 0x56));
    cursor.insertText(QStringLiteral("big serif"), serif);
    QTextCharFormat automatic;
    automatic.setFontFamilies({QStringLiteral("Lucida Console")});
    automatic.setFontPointSize(9);
    cursor.insertText(QStringLiteral(" small"), automatic);

    const QByteArray bytes = rtf();
    EXPECT_TRUE(bytes.contains("{\\colortbl ;\\red0\\green192\\blue192;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
                               "\\red18\\green52\\blue86;}"))
        << bytes.constData();
    EXPECT_TRUE(bytes.contains("\\fs40")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("\\cf0 ")) << bytes.constData();

    const ReadBack back = readWithUnrtf(bytes);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    ASSERT_EQ(back.runs.size(), 5);
    // 11.25 points, to the nearest half point; unrtf says it in whole points.
    EXPECT_TRUE(bytes.contains("\\f0\\fs23 ")) << bytes.constData();
    EXPECT_EQ(back.runs[0].family, "Lucida Console");
    EXPECT_EQ(back.runs[0].points, 11);
    EXPECT_EQ(back.runs[2].text, "plain words");
    EXPECT_EQ(back.runs[2].colour, Red);
    EXPECT_EQ(back.runs[3].text, "big serif");
    EXPECT_EQ(back.runs[3].family, "DejaVu Serif");
    EXPECT_EQ(back.runs[3].points, 20);
    EXPECT_EQ(back.runs[3].colour, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(back.runs[4].text, " small");
    EXPECT_EQ(back.runs[4].family, "Lucida Console");
    EXPECT_EQ(back.runs[4].points, 9);
    EXPECT_EQ(back.runs[4].colour, QColor(Qt::black));  // the reader's automatic colour
}

TEST_F(RtfWriterTest, AFontNameIsWrittenAsItsCharactersOnly)
{
    // A tab or a line separator in a family name is a character of the name: the font
    // table has no tabs or lines, a reader would drop \tab or \line there.
    QTextCursor cursor(edit.document());
    QTextCharFormat odd;
    odd.setFontFamilies({QStringLiteral("Odd\tFont\u2028Name;")});
    cursor.insertText(QStringLiteral("x"), odd);
    const QByteArray bytes = rtf();
    const qsizetype table = bytes.indexOf("{\\fonttbl");
    const QByteArray fonts = bytes.mid(table, bytes.indexOf("{\\colortbl") - table);
    EXPECT_TRUE(fonts.contains(" Odd\\u9\\'3fFont\\u8232\\'3fName\\'3b;}")) << fonts.constData();
}

TEST_F(RtfWriterTest, AFontChangeForTheWholeTranscriptAndAnEmptyTranscript)
{
    // Empty: a whole RTF document that says which font the transcript uses, and no text.
    const QByteArray empty = rtf();
    EXPECT_TRUE(empty.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(empty.contains("{\\fonttbl{\\f0\\fmodern\\fprq1 Lucida Console;}}")) << empty.constData();
    EXPECT_EQ(empty.count('{'), empty.count('}'));
    EXPECT_FALSE(empty.contains("\\par\r\n"));
    ReadBack back = readWithUnrtf(empty);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_TRUE(back.lines.join(QString()).trimmed().isEmpty()) << back.lines.join(u'|').toStdString();

    WW.insVersionLine();
    WW.insName(QStringLiteral("Human: "));
    WW.insSayPerson(QStringLiteral("hello"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(16);
    WW.setTranscriptFont(font);
    WW.insName(QStringLiteral("CPU: "));
    WW.insSayCPU(QStringLiteral("Hello."));

    const QByteArray bytes = rtf();
    // Lucida Console is no longer used anywhere, so it is not in the table.
    EXPECT_FALSE(bytes.contains("Lucida Console")) << bytes.constData();
    back = readWithUnrtf(bytes);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_EQ(back.lines, (QStringList{asUnrtfShowsIt(versionLine()), "Human: hello", "CPU: Hello."}));
    ASSERT_EQ(back.runs.size(), 5);
    for (const TextRun &run : back.runs) {
        EXPECT_EQ(run.family, "DejaVu Sans") << run.text.toStdString();
        EXPECT_EQ(run.points, 16) << run.text.toStdString();
    }
    EXPECT_EQ(back.runs[4].colour, Green);
}

}  // namespace
