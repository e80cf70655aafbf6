// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Export of a 10,000-line transcript as RTF, against writing the same transcript's plain
// text through the same safe replacement (temporary file, flush to disk, rename) into the
// same folder. The target: export at most 5 times the plain-text write.
#include "safefile/SafeWrite.h"
#include "ui/RtfWriter.h"
#include "ui/TextEditTranscript.h"
#include "ui/TranscriptExport.h"

#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace jabbly;

namespace {

constexpr int Lines = 10000;

// A conversation of Lines lines as the program writes it: labels in blue, the user's
// words in red, the replies in green, a few accents and an emoji among them.
struct Conversation {
    QTextEdit edit;
    TextEditTranscript WW{&edit};
    explicit Conversation(int lines)
    {
        WW.insVersionLine();
        for (int i = 1; i < lines; i += 2) {
            WW.insName(QStringLiteral("Human: "));
            WW.insSayPerson(QStringLiteral("line %1 about my dog's {favourite} caf\u00e9 \\ naps").arg(i));
            WW.insName(QStringLiteral("CPU: "));
            WW.insSayCPU(QStringLiteral("I once met a piano who knew %L1 songs about Tuesday \U0001F600").arg(i * 7));
        }
    }
    const QTextDocument &doc() const { return *edit.document(); }
};

const QTextDocument &conversation(int lines = Lines)
{
    static std::map<int, std::unique_ptr<Conversation>> made;
    auto &c = made[lines];
    if (!c)
        c = std::make_unique<Conversation>(lines);
    return c->doc();
}

void BM_ExportRtf(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("transcript.rtf"));
    for (auto _ : state)
        exportTranscript(conversation(), path);
    state.counters["lines"] = conversation().blockCount();
}
BENCHMARK(BM_ExportRtf)->Unit(benchmark::kMillisecond);

void BM_ExportPlainText(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("transcript.txt"));
    for (auto _ : state)
        safefile::replaceFile(path, conversation().toPlainText().toUtf8());
}
BENCHMARK(BM_ExportPlainText)->Unit(benchmark::kMillisecond);

// The two halves of an export, to see where its time goes; the writer over 1,000 to 16,000
// lines shows that its time grows in step with the transcript.
void BM_RtfWriterOnly(benchmark::State &state)
{
    const QTextDocument &doc = conversation(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(doc));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RtfWriterOnly)->Arg(1000)->Arg(4000)->Arg(16000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_PlainTextOnly(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(conversation().toPlainText().toUtf8());
}
BENCHMARK(BM_PlainTextOnly)->Unit(benchmark::kMillisecond);

}  // namespace
