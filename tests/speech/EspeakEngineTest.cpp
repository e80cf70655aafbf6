// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The espeak-ng engine with the real espeak-ng: its voices, synthesis into memory, the
// speech thread (queue, stop, failures) through a test output, the lexicon on the way to
// the synthesizer, and the voice listing of the Sayline component over the real engine.

#include "SpeechTesting.h"

#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "ErrorNumber.h"
#include "lists/ItemListModel.h"
#include "speech/SpeechErrors.h"
#include "TestFolder.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using jabbly::Error;
using jabbly::EspeakEngine;
using jabbly::Lexicon;
using jabbly::testing::errorNumber;
using jabbly::voices::Gender;
using namespace speech_test;

namespace {

const QString LongLine = QStringLiteral(
    "This line is a good deal longer than the one before it, and it goes on for a while, so that it takes several "
    "seconds to say at any ordinary speed.");

// Opens the gate by itself when the test has not done so in time, so that an engine that
// waits for its output fails the test instead of hanging it.
class Watchdog {
public:
    explicit Watchdog(OutputState &state)
        : thread_([this, &state] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(20), [this] { return finished_; })) {
                  fired = true;
                  state.openGate();
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }
    std::atomic<bool> fired{false};

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace

TEST(EspeakEngine, ListsEveryVoiceAsItIsAndFemale)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    const int32_t n = e.CountEngines();
    ASSERT_GE(n, 2);
    EXPECT_EQ(n % 2, 0);
    QSet<QString> names;
    int female = 0;
    for (int32_t i = 1; i <= n; ++i) {
        const QString name = e.ModeName(i);
        names.insert(name);
        const bool isFemale = e.mode(i).gender == Gender::Female;
        female += isFemale ? 1 : 0;
        EXPECT_TRUE(name.endsWith(isFemale ? QStringLiteral(", female") : QStringLiteral(", male")))
            << name.toStdString();
        EXPECT_FALSE(name.contains(u'_')) << name.toStdString();
    }
    EXPECT_EQ(names.size(), n);
    EXPECT_EQ(female, n / 2);
    EXPECT_TRUE(names.contains(QStringLiteral("English (Great Britain), female")));
    EXPECT_TRUE(names.contains(QStringLiteral("German, male")));
    EXPECT_GE(e.CurrentMode(), 1);
    EXPECT_LE(e.CurrentMode(), n);
    EXPECT_EQ(e.speed(), 150);
}

TEST(EspeakEngine, VoiceNumbersAndSpeedsOutOfRangeAreRefused)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    const int32_t n = e.CountEngines();
    e.Select(2);
    for (int32_t bad : {0, -1, n + 1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(errorNumber([&] { e.ModeName(bad); }), jabbly::err::InvalidArgument);
        EXPECT_EQ(errorNumber([&] { e.Select(bad); }), jabbly::err::InvalidArgument);
        EXPECT_EQ(errorNumber([&] { e.setCurrentMode(bad); }), jabbly::err::InvalidPropertyValue);
        EXPECT_EQ(e.CurrentMode(), 2);
    }
    e.setCurrentMode(n);
    EXPECT_EQ(e.CurrentMode(), n);

    for (int32_t bad : {49, 251, 0, -150}) {
        EXPECT_EQ(errorNumber([&] { e.setSpeed(bad); }), jabbly::err::InvalidPropertyValue) << bad;
        EXPECT_EQ(e.speed(), 150);
    }
    e.setSpeed(50);
    e.setSpeed(250);
    EXPECT_EQ(e.speed(), 250);
}

TEST(EspeakEngine, FindsAFemaleVoiceInTheUsersLanguage)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    const int32_t found = e.Find(QStringLiteral("Mfg=Microsoft;Gender=1"));
    ASSERT_GE(found, 1);
    ASSERT_LE(found, e.CountEngines());
    EXPECT_EQ(e.mode(found).gender, Gender::Female);
    const QString wanted = jabbly::voices::preferredLanguage(QLocale::system());
    const int score = jabbly::voices::languageScore(e.mode(found).languages, wanted);
    for (int32_t i = 1; i <= e.CountEngines(); ++i) {
        if (e.mode(i).gender == Gender::Female) {
            EXPECT_LE(jabbly::voices::languageScore(e.mode(i).languages, wanted), score) << e.ModeName(i).toStdString();
        }
    }
    e.Select(found);
    EXPECT_EQ(e.CurrentMode(), found);

    EXPECT_EQ(e.ModeName(e.Find(QStringLiteral("Language=de;Gender=2"))), QStringLiteral("German, male"));
    EXPECT_EQ(e.ModeName(e.Find(QStringLiteral("Gender=1;Language=en-US"))),
              QStringLiteral("English (America), female"));
}

TEST(EspeakEngine, SynthesizesSpeechIntoMemory)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    e.Select(e.Find(QStringLiteral("Language=en;Gender=1")));
    const int rate = e.sampleRate();
    ASSERT_GE(rate, 8000);

    const std::vector<int16_t> hello = e.synthesize(QStringLiteral("Hello, this is Jabbly speaking."));
    EXPECT_GT(seconds(hello, rate), 1.0);
    EXPECT_LT(seconds(hello, rate), 6.0);
    EXPECT_GT(peak(hello), 1000);

    e.setSpeed(50);
    const double slow = seconds(e.synthesize(LongLine), rate);
    e.setSpeed(250);
    const double fast = seconds(e.synthesize(LongLine), rate);
    EXPECT_GT(slow, 2.5 * fast) << slow << " s at speed 50, " << fast << " s at 250";

    // None of this needed a sound device.
    std::lock_guard lock(t.state->mutex);
    EXPECT_EQ(t.state->opens, 0);
}

TEST(EspeakEngine, SpeakQueuesTheLinesAndPlaysThemInOrder)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    e.Speak(QStringLiteral("Yes."));
    e.Speak(LongLine);
    e.Speak(QStringLiteral("No."));
    e.Speak(QStringLiteral("   "));  // nothing to say
    e.Speak(QString());
    e.waitUntilIdle();

    std::lock_guard lock(t.state->mutex);
    ASSERT_EQ(t.state->utterances.size(), 3u);
    const auto &u = t.state->utterances;
    EXPECT_GT(u[1].size(), 4 * u[0].size());
    EXPECT_GT(u[1].size(), 4 * u[2].size());
    for (const auto &samples : u)
        EXPECT_GT(peak(samples), 1000);
    EXPECT_EQ(t.state->opens, 1);
    EXPECT_EQ(t.state->discards, 0);
    EXPECT_EQ(t.state->sampleRate, e.sampleRate());
}

TEST(EspeakEngine, StopCutsTheLineShortAndDropsTheQueueWithoutWaiting)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    const std::size_t whole = e.synthesize(LongLine).size();
    t.state->gated = true;
    Watchdog watchdog(*t.state);

    e.Speak(LongLine);
    ASSERT_TRUE(t.state->waitFor([&] { return t.state->writes >= 1; }));
    // The speech thread is held inside the output now; neither of these may wait for it.
    e.Speak(QStringLiteral("Queued behind the long line."));
    e.StopSpeaking();
    EXPECT_FALSE(watchdog.fired);
    t.state->openGate();
    e.waitUntilIdle();

    {
        std::lock_guard lock(t.state->mutex);
        EXPECT_EQ(t.state->discards, 1);
        EXPECT_TRUE(t.state->utterances.empty());
        ASSERT_EQ(t.state->cut.size(), 1u);
        EXPECT_LT(t.state->cut[0].size(), whole / 2);
        t.state->gated = false;
    }

    // Speech goes on after a stop.
    e.Speak(QStringLiteral("Again."));
    e.waitUntilIdle();
    std::lock_guard lock(t.state->mutex);
    EXPECT_EQ(t.state->utterances.size(), 1u);
}

TEST(EspeakEngine, AFailingOutputIsReportedByTheNextSpeak)
{
    TestEngine t;
    EspeakEngine &e = *t.engine;
    {
        std::lock_guard lock(t.state->mutex);
        t.state->openFailure = Error(jabbly::speech_err::DeviceUnavailable, QStringLiteral("No sound device here."));
        t.state->gatedOpen = true;
    }
    Watchdog watchdog(*t.state);
    e.Speak(QStringLiteral("First."));
    // The speech thread is held inside open(), so the second line waits behind the first
    // when the first fails (without the hold it could come after the failure and either
    // report it itself or open the output once more).
    ASSERT_TRUE(t.state->waitFor([&] { return t.state->opens == 1; }));
    e.Speak(QStringLiteral("Second."));
    t.state->openGate();
    e.waitUntilIdle();
    EXPECT_FALSE(watchdog.fired);
    {
        std::lock_guard lock(t.state->mutex);
        EXPECT_EQ(t.state->opens, 1);  // the second line went with the first
        t.state->openFailure.reset();
        t.state->gatedOpen = false;
    }
    try {
        e.Speak(QStringLiteral("Third."));
        ADD_FAILURE() << "the output's failure was not reported";
    } catch (const Error &error) {
        EXPECT_EQ(error.number(), jabbly::speech_err::DeviceUnavailable);
        EXPECT_EQ(error.message(), QStringLiteral("No sound device here."));
    }
    // Reported once, by a Speak that still queued its own line; with the output back,
    // both later lines are heard.
    e.Speak(QStringLiteral("Fourth."));
    e.waitUntilIdle();
    std::lock_guard lock(t.state->mutex);
    EXPECT_EQ(t.state->opens, 2);
    EXPECT_EQ(t.state->utterances.size(), 2u);
}

TEST(EspeakEngine, TheDesktopOutputPlaysOrSaysWhyNot)
{
    // The real sound output. Build machines have no sound device: its absence must come
    // back as error 68 from the next Speak, never as a crash or a hang.
    QTemporaryDir dir;
    EspeakEngine::Options options;
    options.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
    EspeakEngine e(std::move(options));
    e.Speak(QStringLiteral("Hello."));
    e.waitUntilIdle();
    try {
        e.Speak(QStringLiteral("Hello again."));
        e.StopSpeaking();
    } catch (const Error &error) {
        EXPECT_EQ(error.number(), jabbly::speech_err::DeviceUnavailable) << error.message().toStdString();
        EXPECT_FALSE(error.message().isEmpty());
    }
    EXPECT_GT(e.synthesize(QStringLiteral("Still here.")).size(), 1000u);
}

TEST(EspeakEngine, TheLexiconChangesWhatIsSaid)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lexicon.json"));
    Lexicon l;
    l.set(QStringLiteral("WHO"), QStringLiteral("World Health Organization"));
    l.save(file);

    TestEngine t(file);
    EspeakEngine &e = *t.engine;
    EXPECT_EQ(e.spokenText(QStringLiteral("Ask the WHO, who knows.")),
              QStringLiteral("Ask the World Health Organization, World Health Organization knows."));
    EXPECT_EQ(e.spokenText(QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b")), QStringLiteral("a b"));

    // In the sound as well, for memory and for the speaker.
    const int rate = e.sampleRate();
    const double plain = seconds(e.synthesize(QStringLiteral("how")), rate);
    EXPECT_GT(seconds(e.synthesize(QStringLiteral("who")), rate), 2.5 * plain);
    e.Speak(QStringLiteral("WHO"));
    e.waitUntilIdle();
    std::lock_guard lock(t.state->mutex);
    ASSERT_EQ(t.state->utterances.size(), 1u);
    EXPECT_GT(seconds(t.state->utterances[0], rate), 2.5 * plain);
}

TEST(EspeakEngine, LexiconChangesAreSavedAndComeBack)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("config/lexicon.json"));
    {
        TestEngine t(file);
        EXPECT_EQ(t.engine->lexiconFile(), file);
        EXPECT_TRUE(t.engine->lexicon().isEmpty());
        Lexicon l = t.engine->lexicon();
        l.set(QStringLiteral("Jabbly"), QStringLiteral("jab lee"));
        t.engine->replaceLexicon(l);
        EXPECT_EQ(t.engine->spokenText(QStringLiteral("jabbly!")), QStringLiteral("jab lee!"));
    }
    TestEngine next(file);
    EXPECT_EQ(next.engine->lexicon().sayAs(QStringLiteral("JABBLY")), QStringLiteral("jab lee"));
    EXPECT_TRUE(next.engine->lexiconProblem().isEmpty());

    // Where nothing can be saved, the lexicon in use stays as it was.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TestEngine blocked(dir.filePath(QStringLiteral("blocker/lexicon.json")));
    Lexicon l;
    l.set(QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(errorNumber([&] { blocked.engine->replaceLexicon(l); }), jabbly::err::PathNotFound);
    EXPECT_TRUE(blocked.engine->lexicon().isEmpty());
}

TEST(EspeakEngine, AnUnreadableLexiconDoesNotStopSpeechAndIsKept)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lexicon.json"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ this is not what the program wrote");
    }
    TestEngine t(file);
    EspeakEngine &e = *t.engine;
    EXPECT_TRUE(e.lexicon().isEmpty());
    EXPECT_TRUE(e.lexiconProblem().contains(QStringLiteral("lexicon.json"))) << e.lexiconProblem().toStdString();
    EXPECT_GT(e.synthesize(QStringLiteral("Speech still works.")).size(), 1000u);

    Lexicon l;
    l.set(QStringLiteral("a"), QStringLiteral("b"));
    e.replaceLexicon(l);
    EXPECT_TRUE(e.lexiconProblem().isEmpty());
    QFile kept(file + QStringLiteral(".unreadable"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{ this is not what the program wrote"));
    Lexicon back;
    back.load(file);
    EXPECT_EQ(back.sayAs(QStringLiteral("A")), QStringLiteral("b"));
}

TEST(EspeakEngine, EspeakRunsWithOneDataFolderPerProcess)
{
    TestEngine running;
    running.engine->waitUntilStarted();  // with espeak-ng's own data
    QTemporaryDir other;
    EspeakEngine::Options options;
    options.dataFolder = other.path();
    options.lexiconFile = other.filePath(QStringLiteral("lexicon.json"));
    EspeakEngine refused(std::move(options));  // costs nothing until asked for its voices
    EXPECT_EQ(errorNumber([&] { refused.CountEngines(); }), jabbly::err::CannotCreateObject);
    EXPECT_EQ(errorNumber([&] { refused.waitUntilStarted(); }), jabbly::err::CannotCreateObject);
    EXPECT_GT(running.engine->synthesize(QStringLiteral("Fine.")).size(), 1000u);
}

TEST(EspeakEngine, SaylineListsTheRealVoicesAndSelectsTheFemaleOne)
{
    // The start-up path of the program: the component's voice listing over the real engine,
    // into a voice list whose selection event sets the engine's voice.
    TestEngine t;
    EspeakEngine &e = *t.engine;
    jabbly::ComponentLibrary library(jabbly::testing::binFolder(), QStringLiteral("Sayline"), jabbly::SaylineFactory);
    jabbly::ItemListModel voices(false);
    int events = 0;
    voices.setSelectionHandler([&] {
        ++events;
        e.setCurrentMode(voices.ListIndex() + 1);
    });

    jabbly::Sayline(library.instance()).ListVoices(voices, e);

    ASSERT_EQ(voices.ListCount(), e.CountEngines());
    for (int i = 0; i < voices.ListCount(); ++i)
        EXPECT_EQ(voices.List(i), e.ModeName(i + 1));
    EXPECT_EQ(events, 1);
    EXPECT_EQ(voices.ListIndex(), e.CurrentMode() - 1);
    EXPECT_EQ(e.mode(e.CurrentMode()).gender, Gender::Female);
    EXPECT_TRUE(voices.Text().endsWith(QStringLiteral(", female")));
}
