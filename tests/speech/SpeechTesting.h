// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sound output for the speech engine's tests: it records what it is given, utterance by
// utterance, can refuse to open, and can hold the speech thread inside write() until the
// test lets it go. The test keeps the shared state; the engine owns the output.

#include "speech/AudioOutput.h"
#include "speech/EspeakEngine.h"

#include "jabbly/error.h"

#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace speech_test {

struct OutputState {
    std::mutex mutex;
    std::condition_variable changed;

    int opens = 0;
    int closes = 0;
    int discards = 0;
    int writes = 0;
    int sampleRate = 0;
    std::vector<std::vector<int16_t>> utterances;  // finished ones, in order
    std::vector<std::vector<int16_t>> cut;         // ones that were stopped
    std::vector<int16_t> current;

    std::optional<jabbly::Error> openFailure;
    bool gated = false;      // write() waits until the gate opens
    bool gatedOpen = false;  // so does open(), before it fails or succeeds
    bool gateOpen = false;

    // Waits until `done` holds (checked under the lock); false after `seconds`, so that a
    // broken engine fails the test instead of hanging it.
    template <typename Pred>
    bool waitFor(Pred done, int seconds = 30)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(seconds), done);
    }

    void openGate()
    {
        {
            std::lock_guard lock(mutex);
            gateOpen = true;
        }
        changed.notify_all();
    }
};

class TestOutput final : public jabbly::AudioOutput {
public:
    explicit TestOutput(std::shared_ptr<OutputState> state) : s_(std::move(state)) {}

    void open(int sampleRate) override
    {
        std::unique_lock lock(s_->mutex);
        ++s_->opens;
        s_->sampleRate = sampleRate;
        s_->changed.notify_all();
        if (s_->gatedOpen)
            s_->changed.wait(lock, [this] { return s_->gateOpen; });
        if (s_->openFailure)
            throw *s_->openFailure;
    }
    void write(const int16_t *samples, std::size_t count) override
    {
        std::unique_lock lock(s_->mutex);
        ++s_->writes;
        s_->changed.notify_all();
        if (s_->gated)
            s_->changed.wait(lock, [this] { return s_->gateOpen; });
        s_->current.insert(s_->current.end(), samples, samples + count);
    }
    void endOfUtterance() override
    {
        std::lock_guard lock(s_->mutex);
        s_->utterances.push_back(std::move(s_->current));
        s_->current.clear();
        s_->changed.notify_all();
    }
    void discard() override
    {
        std::lock_guard lock(s_->mutex);
        ++s_->discards;
        s_->cut.push_back(std::move(s_->current));
        s_->current.clear();
        s_->changed.notify_all();
    }
    void close() override
    {
        std::lock_guard lock(s_->mutex);
        ++s_->closes;
    }

private:
    std::shared_ptr<OutputState> s_;
};

// An engine that plays into a TestOutput and keeps its lexicon in a scratch folder.
struct TestEngine {
    explicit TestEngine(const QString &lexiconFile = {}) : state(std::make_shared<OutputState>())
    {
        jabbly::EspeakEngine::Options options;
        options.lexiconFile = lexiconFile.isEmpty() ? scratch.filePath(QStringLiteral("lexicon.json")) : lexiconFile;
        options.output = std::make_unique<TestOutput>(state);
        engine = std::make_unique<jabbly::EspeakEngine>(std::move(options));
    }

    QTemporaryDir scratch;
    std::shared_ptr<OutputState> state;
    std::unique_ptr<jabbly::EspeakEngine> engine;
};

// Seconds of sound in `samples` at the engine's rate.
inline double seconds(const std::vector<int16_t> &samples, int rate)
{
    return static_cast<double>(samples.size()) / rate;
}

// The loudest sample: speech, unlike silence, goes well above a few hundred.
inline int peak(const std::vector<int16_t> &samples)
{
    int p = 0;
    for (int16_t s : samples)
        p = std::max(p, std::abs(static_cast<int>(s)));
    return p;
}

}  // namespace speech_test
