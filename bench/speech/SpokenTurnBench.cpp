// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A whole turn with Speak ticked (the real espeak-ng engine, both lines queued) next to the
// same turn with Speak off: the turn must not wait for speech.
#include "speech/AudioOutput.h"
#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "speech/EspeakEngine.h"
#include "lists/ItemListModel.h"
#include "conversation/RandomGenerator.h"
#include "session/SpeechSettings.h"
#include "session/SpokenTurn.h"
#include "conversation/Transcript.h"
#include "conversation/Turn.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace jabbly;

namespace {

// Takes the samples and drops them, as fast as they come: the bench measures the turn, not
// a sound card.
class DiscardingOutput final : public AudioOutput {
public:
    void open(int) override {}
    void write(const int16_t *samples, std::size_t count) override { benchmark::DoNotOptimize(samples[count - 1]); }
    void discard() override {}
    void close() override {}
};

struct NullTranscript : Transcript {
    void insCommand(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
    void insName(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
    void insSayPerson(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
    void insSayCPU(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
};

struct NullInput : InputBox {
    void selectAll() override {}
};

struct NoCommands : CommandRunner {
    void run(Command) override {}
};

struct World {
    World()
    {
        EspeakEngine::Options options;
        options.lexiconFile = scratch.filePath(QStringLiteral("lexicon.json"));
        options.output = std::make_unique<DiscardingOutput>();
        tts = std::make_unique<EspeakEngine>(std::move(options));
        HidWord.AddItem(QStringLiteral("jabbly"));
        HidCPU.AddItem(QStringLiteral("So, £NAME£, you like £WORD1£ and £WORDP2£? I have £NUMBER3£ of them."));
    }

    QTemporaryDir scratch;
    ComponentLibrary rowkitLibrary{QStringLiteral(JABBLY_BENCH_BIN_DIR), QStringLiteral("Rowkit"), RowkitFactory};
    ComponentLibrary saylineLibrary{QStringLiteral(JABBLY_BENCH_BIN_DIR), QStringLiteral("Sayline"), SaylineFactory};
    Rowkit rowkit{rowkitLibrary.instance()};
    Sayline sayline{saylineLibrary.instance()};
    std::unique_ptr<EspeakEngine> tts;
    NullTranscript WW;
    NullInput Say1;
    NoCommands commands;
    ItemListModel HidWord{true}, HidCPU{false}, lstAI{true};
    RandomGenerator random{11};
    ConversationTurn turn{WW,     Say1,   HidWord, HidCPU, [this]() -> ItemList & { return lstAI; },
                          rowkit, random, commands};
};

void runTurns(benchmark::State &state, bool speak)
{
    World w;
    SpokenTurn speaker(w.sayline, w.tts.get(), [speak] { return SpeechSwitches{speak, false}; });
    w.turn.setSpeaker(&speaker);
    const QString line =
        QStringLiteral("I really like green apples and long walks by the river on a sunny day with my old dog Rex");
    for (auto _ : state) {
        QString name = QStringLiteral("Human"), say = line;
        w.turn.Process(name, say);
        state.PauseTiming();
        w.tts->StopSpeaking();  // keeps the queue short; the next turn queues afresh
        state.ResumeTiming();
    }
}

void BM_Turn20Words_SpeakOff(benchmark::State &state) { runTurns(state, false); }
BENCHMARK(BM_Turn20Words_SpeakOff)->Unit(benchmark::kMicrosecond);

void BM_Turn20Words_SpeakOn(benchmark::State &state) { runTurns(state, true); }
BENCHMARK(BM_Turn20Words_SpeakOn)->Unit(benchmark::kMicrosecond);

}  // namespace
