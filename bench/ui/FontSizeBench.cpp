// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a font or a size in the font window, on transcripts of 1,000, 10,000 and 100,000
// coloured lines, each next to bare Qt merging the same character format over the same
// text in a plain QTextEdit (Qt's own layout). Both are timed until the whole text is laid
// out again.
#include "BenchSupport.h"
#include "ui/TextEditTranscript.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

using namespace jabbly;

namespace {

// Shown transcripts of `lines` lines in the four colours, as a conversation writes them: one
// through the program's transcript, one in a bare QTextEdit.
struct Conversation {
    explicit Conversation(int lines)
    {
        for (QTextEdit *e : {&edit, &bare}) {
            e->resize(482, 325);
            e->show();
        }
        bare.setUndoRedoEnabled(false);
        QTextCursor cursor(bare.document());
        for (int i = 0; i < lines / 2; ++i) {
            const QString user = QStringLiteral("I like green apples and long walks, number %1").arg(i);
            const QString reply = QStringLiteral("When I grow up I want to be a walk. Or an apple. Or both.");
            {
                const Transcript::Batch batch(WW);
                WW.insName(QStringLiteral("Human: "));
                WW.insSayPerson(user);
                WW.insName(QStringLiteral("CPU: "));
                WW.insSayCPU(reply);
            }
            const auto write = [&](bool newLine, const QColor &colour, const QString &text) {
                QTextCharFormat format;
                format.setForeground(colour);
                if (newLine)
                    cursor.insertBlock(QTextBlockFormat(), format);
                cursor.insertText(text, format);
            };
            write(true, Qt::blue, QStringLiteral("Human: "));
            write(false, Qt::red, user);
            write(true, Qt::blue, QStringLiteral("CPU: "));
            write(false, QColor(0, 128, 0), reply);
        }
    }
    QTextEdit edit;
    TextEditTranscript WW{&edit};
    QTextEdit bare;
};

Conversation &conversation(int lines)
{
    static std::map<int, Conversation *> made;
    Conversation *&c = made[lines];
    if (!c) {
        c = new Conversation(lines);
        bench::atExit([c] { delete c; });
    }
    return *c;
}

const QString Families[] = {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")};

QTextCharFormat familyFormat(int n)
{
    QTextCharFormat f;
    f.setFontFamilies({Families[n % 2]});
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    return f;
}

QTextCharFormat sizeFormat(int n)
{
    QTextCharFormat f;
    f.setFontPointSize(n % 2 ? 12 : 14);
    return f;
}

// Until the layout has caught up with the change: the events it may have left itself to
// finish with are handled.
void finishLayout(QTextEdit &edit)
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    benchmark::DoNotOptimize(edit.document()->documentLayout()->documentSize());
}

// The change is timed until all of the text is laid out again (the rest of it is laid out
// between events); `shown_ms` is the median time until the handler returns and the window can
// paint the lines in view.
void choose(benchmark::State &state, const std::function<void(TextEditTranscript &, int)> &apply)
{
    Conversation &c = conversation(int(state.range(0)));
    int n = 0;
    std::vector<double> shown;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        apply(c.WW, n++);
        shown.push_back(clock.nsecsElapsed() / 1e6);
        while (c.WW.layingOut())
            QCoreApplication::processEvents();
        finishLayout(c.edit);
    }
    std::sort(shown.begin(), shown.end());
    state.counters["shown_ms"] = shown.empty() ? 0 : shown[shown.size() / 2];
    state.counters["lines"] = c.edit.document()->blockCount();
}

// Baseline: the same document, one cursor merging the same format over all of it, in a
// QTextEdit with Qt's own layout.
void mergeOverDocument(benchmark::State &state, const std::function<QTextCharFormat(int)> &formatFor)
{
    Conversation &c = conversation(int(state.range(0)));
    int n = 0;
    for (auto _ : state) {
        QTextCursor cursor(c.bare.document());
        cursor.select(QTextCursor::Document);
        cursor.mergeCharFormat(formatFor(n++));
        finishLayout(c.bare);
    }
    state.counters["lines"] = c.bare.document()->blockCount();
}

void BM_Curve_ChooseFont(benchmark::State &state)
{
    choose(state, [](TextEditTranscript &WW, int n) { WW.setTranscriptFamily(Families[n % 2]); });
}

void BM_Curve_ChooseSize(benchmark::State &state)
{
    choose(state, [](TextEditTranscript &WW, int n) { WW.setTranscriptPointSize(n % 2 ? 12 : 14); });
}

void BM_Curve_Baseline_MergeFamily(benchmark::State &state) { mergeOverDocument(state, familyFormat); }
void BM_Curve_Baseline_MergeSize(benchmark::State &state) { mergeOverDocument(state, sizeFormat); }

// Each size with its baseline next to it, so that both see the same load on the machine.
const bool registered = [] {
    for (const int lines : {1000, 10000, 100000}) {
        const auto add = [lines](const char *name, void (*bench)(benchmark::State &)) {
            benchmark::RegisterBenchmark(name, bench)->Arg(lines)->Unit(benchmark::kMillisecond);
        };
        add("BM_Curve_Baseline_MergeFamily", BM_Curve_Baseline_MergeFamily);
        add("BM_Curve_ChooseFont", BM_Curve_ChooseFont);
        add("BM_Curve_Baseline_MergeSize", BM_Curve_Baseline_MergeSize);
        add("BM_Curve_ChooseSize", BM_Curve_ChooseSize);
    }
    return true;
}();

}  // namespace
