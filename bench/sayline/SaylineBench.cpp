// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The speech path's costs. filt on a 10,000-character line through the component's
// dispatch entry, against the cheapest thing that can touch every character: a copy
// through a 256-entry table. Speak: how long the call takes to return (it must not wait
// for synthesis or sound), against synthesizing the same line, and how long StopSpeaking
// takes to silence a line that is playing. The engine carries a 101-word lexicon, so Speak
// pays for applying it as the program's would.

#include "components/ComponentLibrary.h"
#include "speech/EspeakEngine.h"

#include "jabbly/members.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Mostly plain words, with about one character in twelve from the filter's table: accented
// letters, currency and typographic signs, superscripts, fractions and control characters.
QString mixedLine(qsizetype length)
{
    static const char16_t special[] = u"éèàçüöñßÆ€£“”‘’–—…²½×÷©®°\t\r\n^`\u00A0";
    static const char16_t plain[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,;:!?'\"()-";
    QRandomGenerator random(1729);
    QString line;
    line.reserve(length);
    while (line.size() < length) {
        const quint32 r = random.bounded(100u);
        if (r < 15)
            line += u' ';
        else if (r < 23)
            line += QChar(special[random.bounded(static_cast<quint32>(std::size(special) - 1))]);
        else
            line += QChar(plain[random.bounded(static_cast<quint32>(std::size(plain) - 1))]);
    }
    return line;
}

jabbly::Dispatch &sayline()
{
    static jabbly::ComponentLibrary library(QStringLiteral(JABBLY_BENCH_BIN_DIR), QStringLiteral("Sayline"),
                                            jabbly::SaylineFactory);
    return library.instance();
}

void BM_Filt_ThroughDispatch(benchmark::State &state)
{
    const QString line = mixedLine(10000);
    jabbly::Dispatch &d = sayline();
    for (auto _ : state) {
        std::array<jabbly::Variant, 1> args{jabbly::Variant(line)};
        jabbly::Variant result = d.Invoke(jabbly::sayline::filt, args);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(args);
    }
    state.SetItemsProcessed(state.iterations() * line.size());
}

// The baseline: a new string of the same length, each character passed through a
// 256-entry table (characters above U+00FF copied as they are).
void BM_Baseline_Copy256Table(benchmark::State &state)
{
    const QString line = mixedLine(10000);
    std::array<char16_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (auto _ : state) {
        QString out(line.size(), Qt::Uninitialized);
        const char16_t *in = reinterpret_cast<const char16_t *>(line.constData());
        char16_t *o = reinterpret_cast<char16_t *>(out.data());
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char16_t c = in[i];
            o[i] = c < 256 ? table[c] : c;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * line.size());
}

// A sound output that takes samples as a sound card does: in real time, a block at a time.
class RealTimeOutput final : public jabbly::AudioOutput {
public:
    void open(int sampleRate) override { rate_ = sampleRate; }
    void write(const int16_t *, std::size_t count) override
    {
        {
            std::lock_guard lock(mutex_);
            ++writes_;
        }
        changed_.notify_all();
        std::this_thread::sleep_for(std::chrono::microseconds(count * 1000000 / static_cast<std::size_t>(rate_)));
    }
    void discard() override
    {
        {
            std::lock_guard lock(mutex_);
            ++discards_;
        }
        changed_.notify_all();
    }
    void close() override {}

    void waitForWrites(int n)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return writes_ >= n; });
    }
    void waitForDiscards(int n)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return discards_ >= n; });
    }
    int writes()
    {
        std::lock_guard lock(mutex_);
        return writes_;
    }

private:
    int rate_ = 22050;
    std::mutex mutex_;
    std::condition_variable changed_;
    int writes_ = 0;
    int discards_ = 0;
};

const QString Sentence =
    QStringLiteral("Hello, Human. I have learned seven new words today, and I would like to use them all at once.");

struct Engine {
    Engine()
    {
        jabbly::EspeakEngine::Options options;
        options.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
        // A lexicon of some size, as a user who cares about pronunciation would have.
        jabbly::Lexicon lexicon;
        for (int i = 0; i < 100; ++i)
            lexicon.set(QStringLiteral("word%1").arg(i), QStringLiteral("said %1").arg(i));
        lexicon.set(QStringLiteral("Human"), QStringLiteral("hew man"));
        lexicon.save(options.lexiconFile);
        auto out = std::make_unique<RealTimeOutput>();
        output = out.get();
        options.output = std::move(out);
        engine = std::make_unique<jabbly::EspeakEngine>(std::move(options));
    }
    QTemporaryDir dir;
    RealTimeOutput *output;
    std::unique_ptr<jabbly::EspeakEngine> engine;
};

void BM_Speak_UntilReturn(benchmark::State &state)
{
    Engine e;
    for (auto _ : state) {
        e.engine->Speak(Sentence);
        state.PauseTiming();
        e.engine->StopSpeaking();
        state.ResumeTiming();
    }
    e.engine->StopSpeaking();
    e.engine->waitUntilIdle();
}

// The same without pausing the clock: Speak and StopSpeaking together.
void BM_SpeakAndStop(benchmark::State &state)
{
    Engine e;
    for (auto _ : state) {
        e.engine->Speak(Sentence);
        e.engine->StopSpeaking();
    }
    e.engine->waitUntilIdle();
}

// For comparison: what Speak would cost if it synthesized the line before returning.
void BM_Baseline_SynthesizeIntoMemory(benchmark::State &state)
{
    Engine e;
    std::size_t samples = 0;
    for (auto _ : state) {
        samples = e.engine->synthesize(Sentence).size();
        benchmark::DoNotOptimize(samples);
    }
    state.counters["audio_s"] = static_cast<double>(samples) / e.engine->sampleRate();
}

// From StopSpeaking to the output dropping what it holds, while a line is playing.
void BM_Stop_UntilSilence(benchmark::State &state)
{
    Engine e;
    int stops = 0;
    for (auto _ : state) {
        const int before = e.output->writes();
        e.engine->Speak(Sentence);
        e.output->waitForWrites(before + 3);
        const auto start = std::chrono::steady_clock::now();
        e.engine->StopSpeaking();
        e.output->waitForDiscards(++stops);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        e.engine->waitUntilIdle();
    }
}

}  // namespace

BENCHMARK(BM_Filt_ThroughDispatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_Copy256Table)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Speak_UntilReturn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpeakAndStop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_SynthesizeIntoMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stop_UntilSilence)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
