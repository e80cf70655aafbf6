// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's threads: espeak-ng starts and works on the speech thread only, in that
// thread's own UTF-8 locale, while the creating thread calls the members; the process's
// locale is the user's before and after. Built with ThreadSanitizer by `make tsan`, which
// fails it on any data race between the two threads.

#include "SpeechTesting.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include <langinfo.h>
#include <locale.h>

using jabbly::EspeakEngine;
using namespace speech_test;

namespace {

// What the speech thread looks like from inside the synthesis: espeak-ng calls the
// output from its callback, on the thread that runs the synthesis.
struct Seen {
    std::mutex mutex;
    std::thread::id thread;
    bool ownLocale = false;
    std::string codeset;
    int writes = 0;
};

class WatchingOutput final : public jabbly::AudioOutput {
public:
    explicit WatchingOutput(std::shared_ptr<Seen> seen) : seen_(std::move(seen)) {}
    void open(int) override {}
    void write(const int16_t *, std::size_t) override
    {
        const locale_t current = uselocale(nullptr);
        std::lock_guard lock(seen_->mutex);
        seen_->thread = std::this_thread::get_id();
        seen_->ownLocale = current != LC_GLOBAL_LOCALE;
        seen_->codeset = nl_langinfo_l(CODESET, current);
        ++seen_->writes;
    }
    void discard() override {}
    void close() override {}

private:
    std::shared_ptr<Seen> seen_;
};

std::string globalCtype()
{
    const char *name = std::setlocale(LC_CTYPE, nullptr);
    return name ? name : "";
}

// The caller's character classification after espeak-ng's start: the user's setting, or,
// from the plain C locale, the UTF-8 one espeak-ng switches to.
bool ctypeKept(const std::string &before)
{
    const std::string now = globalCtype();
    if (before == "C" || before == "POSIX")
        return now == before || now == "C.UTF-8";
    return now == before;
}

}  // namespace

TEST(EspeakThreads, EspeakNgWorksOnTheSpeechThreadInItsOwnLocaleAndTheCallerSeesNoRace)
{
    const std::string before = globalCtype();
    QTemporaryDir scratch;
    auto seen = std::make_shared<Seen>();
    EspeakEngine::Options options;
    options.lexiconFile = scratch.filePath(QStringLiteral("lexicon.json"));
    options.output = std::make_unique<WatchingOutput>(seen);
    EspeakEngine engine(std::move(options));
    EXPECT_FALSE(engine.startRequested());

    // The first member that needs the voices starts espeak-ng and waits for it.
    ASSERT_GT(engine.CountEngines(), 1);
    EXPECT_TRUE(engine.startRequested());
    EXPECT_TRUE(ctypeKept(before)) << before << " became " << globalCtype();

    // Lines queued, stopped, queued again, with the voice and speed changed in between,
    // while the speech thread synthesizes and plays them.
    for (int round = 0; round < 3; ++round) {
        engine.setSpeed(100 + 50 * round);
        engine.setCurrentMode(1 + round % engine.CountEngines());
        engine.Speak(QStringLiteral("The first line of round %1.").arg(round));
        engine.Speak(QStringLiteral("And a second one, a little longer than the first."));
        if (round == 1)
            engine.StopSpeaking();
        EXPECT_FALSE(engine.ModeName(engine.CurrentMode()).isEmpty());
    }
    EXPECT_GT(engine.synthesize(QStringLiteral("Into memory, between the lines.")).size(), 1000u);
    engine.waitUntilIdle();

    std::lock_guard lock(seen->mutex);
    EXPECT_GT(seen->writes, 0);
    EXPECT_NE(seen->thread, std::this_thread::get_id());
    EXPECT_TRUE(seen->ownLocale);
    EXPECT_TRUE(seen->codeset == "UTF-8" || seen->codeset == "ANSI_X3.4-1968") << seen->codeset;
    EXPECT_TRUE(ctypeKept(before)) << before << " became " << globalCtype();
}
