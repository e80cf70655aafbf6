// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Showing long lines: the transcript (a line laid out and painted in a shown, offscreen
// transcript of the main window's size) and the input box (a pasted line shown). The line is
// a word without a break, a run of Korean syllables (which Qt's text layout reads like one
// word) or words with blanks. Time should grow with the length alone, and a word should cost
// no more than words; Qt's own document layout of the line with blanks is there to compare.
#include "ui/TextEditTranscript.h"

#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

using namespace jabbly;

namespace {

enum class Kind { Word, Korean, Blanks };

QString lineOf(Kind kind, qsizetype length)
{
    QString s(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i) {
        switch (kind) {
        case Kind::Word:
            s[i] = QChar(static_cast<char16_t>(u'a' + i % 25));
            break;
        case Kind::Korean:
            s[i] = QChar(static_cast<char16_t>(0xAC00 + (i * 37) % 11172));
            break;
        case Kind::Blanks:
            s[i] = i % 8 == 7 ? QChar(u' ') : QChar(static_cast<char16_t>(u'a' + i % 25));
            break;
        }
    }
    return s;
}

// The main window's transcript at its design size.
void showInTranscript(benchmark::State &state, Kind kind)
{
    const QString text = lineOf(kind, state.range(0));
    QTextEdit edit;
    edit.resize(600, 330);
    edit.show();
    TextEditTranscript WW(&edit);
    for (auto _ : state) {
        {
            Transcript::Batch batch(WW);
            WW.insName(QStringLiteral("Human: "));
            WW.insSayPerson(text);
        }
        edit.viewport()->repaint();
        state.PauseTiming();
        if (WW.length() != text.size() + 9)
            state.SkipWithError("the transcript does not hold the line");
        WW.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Transcript_Word(benchmark::State &state) { showInTranscript(state, Kind::Word); }
void BM_Transcript_Korean(benchmark::State &state) { showInTranscript(state, Kind::Korean); }
void BM_Transcript_Blanks(benchmark::State &state) { showInTranscript(state, Kind::Blanks); }

// For comparison: the same line with blanks in a text edit with Qt's own document layout.
void BM_QtOwnLayout_Blanks(benchmark::State &state)
{
    const QString text = lineOf(Kind::Blanks, state.range(0));
    QTextEdit edit;
    edit.resize(600, 330);
    edit.show();
    for (auto _ : state) {
        QTextCursor cursor(edit.document());
        cursor.beginEditBlock();
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Human: ") + text);
        cursor.endEditBlock();
        edit.setTextCursor(cursor);
        edit.ensureCursorVisible();
        edit.viewport()->repaint();
        state.PauseTiming();
        edit.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The input box Say1: a pasted line shown, as long as the transcript's lines.
void showInInputBox(benchmark::State &state, Kind kind)
{
    const QString text = lineOf(kind, state.range(0));
    QLineEdit box;
    box.setMaxLength(std::numeric_limits<int>::max());
    box.resize(480, 24);
    box.show();
    for (auto _ : state) {
        box.setText(text);
        box.repaint();
        state.PauseTiming();
        box.clear();
        box.repaint();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_InputBox_Word(benchmark::State &state) { showInInputBox(state, Kind::Word); }
void BM_InputBox_Blanks(benchmark::State &state) { showInInputBox(state, Kind::Blanks); }

}  // namespace

BENCHMARK(BM_Transcript_Word)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transcript_Korean)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transcript_Blanks)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtOwnLayout_Blanks)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InputBox_Word)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InputBox_Blanks)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
