// Start-up of the main window (construction and Form_Load, offscreen) with a full word list.
#include "frmJabbly.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

QByteArray sortedWordFile(int count)
{
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> length(3, 12), letter('a', 'z');
    QStringList words;
    while (words.size() < count) {
        QString w;
        for (int n = length(gen); n > 0; --n)
            w += QChar(letter(gen));
        words << w;
    }
    words.sort(Qt::CaseInsensitive);
    return words.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The first start in a process also loads the components and starts espeak-ng: this is what
// a user waits for. The steady-state figure below shows the window's own share.
void BM_FormLoadWithFullWordList(benchmark::State &state)
{
    QTemporaryDir folder;
    writeFile(folder.filePath("cpu.txt"), "Hello \xc2\xa3NAME\xc2\xa3, \xc2\xa3WORD1\xc2\xa3?\r\n");
    writeFile(folder.filePath("words.txt"), sortedWordFile(32767));
    for (auto _ : state) {
        auto setup = jabbly::frmJabbly::Setup::forThisProgram({});
        setup.dataFolder = folder.path() + QLatin1Char('/');
        setup.componentFolder = QStringLiteral(JABBLY_BENCH_BIN_DIR);
        jabbly::frmJabbly window(std::move(setup));
        if (!window.Form_Load() || window.HidWord().ListCount() != 32767)
            state.SkipWithError("start-up did not load the word list");
        benchmark::DoNotOptimize(window.HidWord().ListCount());
        state.PauseTiming();
        window.HidWord().Clear();  // nothing to save: keep the benchmark's words.txt as it is
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FormLoadWithFullWordList)->Name("FormLoad/first_in_process")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormLoadWithFullWordList)->Name("FormLoad/again")->Unit(benchmark::kMillisecond);

}  // namespace
