// Start-up of the main window (construction and Form_Load, offscreen) with a full word list.
#include "EspeakEngine.h"
#include "LocalFileCheck.h"
#include "LocalFileSystem.h"
#include "QSettingsStore.h"
#include "DesktopDocumentLauncher.h"
#include "QtComboTool.h"
#include "QtSaveDialog.h"
#include "QtMessageBoxes.h"
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

jabbly::SessionServices servicesFor(const QString &folder, std::unique_ptr<jabbly::SpeechEngine> tts)
{
    jabbly::SessionServices services;
    services.dataFolder = folder + QLatin1Char('/');
    services.componentFolder = QStringLiteral(JABBLY_BENCH_BIN_DIR);
    services.tts = std::move(tts);
    services.Tamsin = std::make_unique<jabbly::LocalFileCheck>();
    services.fileSystem = std::make_unique<jabbly::LocalFileSystem>();
    services.settings = std::make_unique<jabbly::QSettingsStore>(folder + QStringLiteral("/settings.ini"));
    services.messages = std::make_unique<jabbly::QtMessageBoxes>();
    return services;
}

struct Folder {
    Folder()
    {
        writeFile(dir.filePath("cpu.txt"), "Hello \xc2\xa3NAME\xc2\xa3, \xc2\xa3WORD1\xc2\xa3?\r\n");
        writeFile(dir.filePath("words.txt"), sortedWordFile(32767));
    }
    QTemporaryDir dir;
};

// Builds the main window and runs its start-up; the window is destroyed outside the timing,
// with its word list emptied so that nothing is saved.
void startOnce(benchmark::State &state, const QString &folder, std::unique_ptr<jabbly::SpeechEngine> tts)
{
    jabbly::WindowServices windowServices;
    windowServices.comboTool = std::make_unique<jabbly::QtComboTool>();
    windowServices.saveDialog = std::make_unique<jabbly::QtSaveDialog>();
    windowServices.launcher = std::make_unique<jabbly::DesktopDocumentLauncher>();
    auto window = std::make_unique<jabbly::frmJabbly>(servicesFor(folder, std::move(tts)), std::move(windowServices),
                                                      QStringList{});
    if (!window->Form_Load() || window->session().HidWord().ListCount() != 32767)
        state.SkipWithError("start-up did not load the word list");
    benchmark::DoNotOptimize(window->session().HidWord().ListCount());
    state.PauseTiming();
    window->session().HidWord().Clear();
    window.reset();
    state.ResumeTiming();
}

// The first start in a process also loads the components and starts espeak-ng: this is
// what a user waits for.
void BM_FirstStartInProcess(benchmark::State &state)
{
    Folder folder;
    for (auto _ : state)
        startOnce(state, folder.dir.path(), std::make_unique<jabbly::EspeakEngine>());
}
BENCHMARK(BM_FirstStartInProcess)->Name("FormLoad/first_in_process")->Iterations(1)->Unit(benchmark::kMillisecond);

// Later starts: the window, the components (already mapped) and the start-up steps, without
// a speech engine, which a process starts once.
void BM_WindowStartAgain(benchmark::State &state)
{
    Folder folder;
    for (auto _ : state)
        startOnce(state, folder.dir.path(), nullptr);
}
BENCHMARK(BM_WindowStartAgain)->Name("FormLoad/again")->Unit(benchmark::kMillisecond);

}  // namespace
