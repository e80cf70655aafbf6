// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window (construction and Form_Load, offscreen) with a full word list.
#include "speech/EspeakEngine.h"
#include "RealWindow.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace jabbly::bench;

namespace {

struct Folder {
    Folder()
    {
        writeFile(dir.filePath("cpu.txt"), "Hello \xc2\xa3NAME\xc2\xa3, \xc2\xa3WORD1\xc2\xa3?\r\n");
        std::mt19937 gen(7);
        writeFile(dir.filePath("words.txt"), randomWords(32767, gen).join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }
    QTemporaryDir dir;
};

// Builds the main window and runs its start-up; the window is destroyed outside the timing,
// with its word list emptied so that nothing is saved.
void startOnce(benchmark::State &state, const QString &folder, std::unique_ptr<jabbly::SpeechEngine> tts)
{
    auto window = std::make_unique<jabbly::frmJabbly>(realSessionServices(folder, std::move(tts)), realWindowServices(),
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
