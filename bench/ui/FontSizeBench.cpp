// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a font or a size in the font window, on a transcript of 10,000 coloured lines,
// next to bare Qt merging the same character format over the same document.
#include "ui/TextEditTranscript.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <memory>

using namespace jabbly;

namespace {

constexpr int Lines = 10000;

// A shown transcript of `Lines` lines in the four colours, as a conversation writes them.
struct Conversation {
    Conversation()
    {
        edit.resize(482, 325);
        edit.show();
        for (int i = 0; i < Lines / 2; ++i) {
            WW.insName(QStringLiteral("Human: "));
            WW.insSayPerson(QStringLiteral("I like green apples and long walks, number %1").arg(i));
            WW.insName(QStringLiteral("CPU: "));
            WW.insSayCPU(QStringLiteral("When I grow up I want to be a walk. Or an apple. Or both."));
        }
    }
    QTextEdit edit;
    TextEditTranscript WW{&edit};
};

const QString Families[] = {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")};

void BM_ChooseFont(benchmark::State &state)
{
    Conversation c;
    int n = 0;
    for (auto _ : state)
        c.WW.setTranscriptFamily(Families[n++ % 2]);
}
BENCHMARK(BM_ChooseFont)->Unit(benchmark::kMillisecond);

void BM_ChooseSize(benchmark::State &state)
{
    Conversation c;
    int n = 0;
    for (auto _ : state)
        c.WW.setTranscriptPointSize(n++ % 2 ? 12 : 14);
}
BENCHMARK(BM_ChooseSize)->Unit(benchmark::kMillisecond);

// Baseline: the same document, one cursor merging the same format over all of it.
void mergeOverDocument(benchmark::State &state, const std::function<QTextCharFormat(int)> &formatFor)
{
    Conversation c;
    int n = 0;
    for (auto _ : state) {
        QTextCursor cursor(c.edit.document());
        cursor.select(QTextCursor::Document);
        cursor.mergeCharFormat(formatFor(n++));
    }
}

void BM_Baseline_MergeFamily(benchmark::State &state)
{
    mergeOverDocument(state, [](int n) {
        QTextCharFormat f;
        f.setFontFamilies({Families[n % 2]});
        f.setFontWeight(QFont::Normal);
        f.setFontItalic(false);
        return f;
    });
}
BENCHMARK(BM_Baseline_MergeFamily)->Unit(benchmark::kMillisecond);

void BM_Baseline_MergeSize(benchmark::State &state)
{
    mergeOverDocument(state, [](int n) {
        QTextCharFormat f;
        f.setFontPointSize(n % 2 ? 12 : 14);
        return f;
    });
}
BENCHMARK(BM_Baseline_MergeSize)->Unit(benchmark::kMillisecond);

}  // namespace
