// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech engine: espeak-ng behind the program's speech engine interface.
//
// Voices: every espeak-ng voice twice, as it is (male) and in its female form (variant
// "f3"), sorted by name and numbered from 1; see EspeakVoices.h. Speed: the speed list's
// 50 to 250 mapped onto espeak-ng's words per minute, 150 being espeak-ng's normal pace.
//
// Speech runs on a thread of the engine's own: Speak() puts the line in a queue and
// returns at once; the thread synthesizes the lines one after another and plays them in
// slices of 10 ms, so StopSpeaking() cuts the current line within a slice and drops the
// rest of the queue, without waiting for anything. A failure of that thread
// (no sound device, a voice that will not load) is kept and thrown by the next Speak(),
// which has queued its own line all the same.
//
// Pronunciations: the user's lexicon (word -> how to say it) is applied to every line
// before it is queued. LexiconDlg() edits it in a modal dialog and saves it per user.
//
// Starting: creating an engine costs next to nothing. espeak-ng itself (loading its
// library, its data and its voice list) starts on the speech thread when a member first
// needs it, and that member waits: a program that never speaks never loads espeak-ng, and
// one that lists the voices after its window is up keeps espeak-ng out of its start-up. A
// start that fails (no espeak-ng library, no data) fails every member that needs espeak-ng
// with the reason, which is logged once (jabbly.speech).
//
// Threading: create the engine and call its members from one thread (the program's
// user-interface thread). Every espeak-ng call runs on the speech thread, in a thread
// locale of its own (C.UTF-8), so espeak-ng's character and number handling never depends
// on the user's locale nor changes it. The one global change left is espeak-ng's own: its
// initialisation sets the process's LC_CTYPE, which the engine puts back at once; that
// happens only while the thread that asked for the start waits for it, so no program code
// runs beside it. No member waits for audio; the start, synthesize() and waitUntilIdle()
// are the only waits.

#include "speech/AudioOutput.h"
#include "speech/EspeakVoices.h"
#include "speech/Lexicon.h"

#include "jabbly/error.h"
#include "jabbly/speechengine.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace jabbly {

class EspeakEngine final : public SpeechEngine {
public:
    struct Options {
        // The pronunciations file; empty: Lexicon::defaultFile(), which needs the
        // application's organisation and name to be set before the engine is created.
        QString lexiconFile;
        // The folder that holds espeak-ng-data; empty: espeak-ng's own search
        // (ESPEAK_DATA_PATH, then the system's data). espeak-ng starts once per process:
        // every engine of a process must name the same folder.
        QString dataFolder;
        // Where speech is played; null: the desktop's sound output.
        std::unique_ptr<AudioOutput> output;
        // The espeak-ng library to load, a file name or a path; empty:
        // EspeakLibrary::defaultName(). Like the data, one per process.
        QString library;
    };

    // At most this many lines wait to be spoken; one more fails with Overflow (6).
    static constexpr int MaxQueued = 1000;

    // Starts the speech thread; espeak-ng starts when first needed (see above).
    explicit EspeakEngine(Options options = {});
    ~EspeakEngine() override;
    EspeakEngine(const EspeakEngine &) = delete;
    EspeakEngine &operator=(const EspeakEngine &) = delete;

    // SpeechEngine
    void Speak(const QString &text) override;
    void StopSpeaking() override;
    void LexiconDlg(QWidget *owner, const QString &title) override;
    // 50 to 250, else InvalidPropertyValue (380).
    void setSpeed(int32_t speed) override;
    // 1 to CountEngines(), else InvalidPropertyValue (380).
    void setCurrentMode(int32_t mode) override;
    int32_t Find(const QString &criteria) override;
    // 1 to CountEngines(), else InvalidArgument (5).
    void Select(int32_t mode) override;
    int32_t CountEngines() const override;
    // 1 to CountEngines(), else InvalidArgument (5).
    QString ModeName(int32_t mode) const override;
    int32_t CurrentMode() const override;

    // Starts espeak-ng, when that has not been done, and waits for it; then loads the
    // lexicon. Fails with CannotCreateObject (429) when espeak-ng cannot be loaded, its data
    // cannot be found or read or holds no voice; every later call fails the same way. A
    // lexicon that cannot be read does not stop the engine: it starts with an empty one and
    // lexiconProblem() says why. The members that need espeak-ng call it themselves.
    void waitUntilStarted() const;
    // Whether espeak-ng has been asked to start (by this engine or another of the process).
    bool startRequested() const;

    int32_t speed() const { return speed_; }
    // The voice behind a number, 1 to CountEngines(), else InvalidArgument (5).
    const voices::Mode &mode(int32_t number) const;
    // Samples per second of what the engine produces.
    int sampleRate() const;

    // The text that Speak(text) hands to the synthesizer: the lexicon applied, NULs made
    // spaces (a NUL would end the text early).
    QString spokenText(const QString &text) const;
    // Synthesizes `text` as Speak() would say it now (lexicon, voice, speed), on the calling
    // thread, and returns the samples instead of playing them.
    std::vector<int16_t> synthesize(const QString &text);
    // Waits until every queued line has been played (or dropped).
    void waitUntilIdle();

    const Lexicon &lexicon() const
    {
        waitUntilStarted();
        return lexicon_;
    }
    QString lexiconFile() const { return lexiconFile_; }
    // Why the lexicon file could not be read at start; empty when it could.
    QString lexiconProblem() const
    {
        waitUntilStarted();
        return lexiconProblem_;
    }
    // Saves `lexicon` to the lexicon file and uses it from the next line on. On failure the
    // file and the lexicon in use stay as they were. A file that could not be read at start
    // is first kept beside it as lexicon file + ".unreadable".
    void replaceLexicon(const Lexicon &lexicon);

private:
    struct Request {
        QByteArray utf8;
        QString voice;
        int wordsPerMinute = 0;
        uint64_t generation = 0;
    };
    // Work the calling thread hands to the speech thread and waits for.
    struct Task {
        std::function<void()> work;
        std::exception_ptr failure;
        bool done = false;
    };

    void checkMode(int32_t mode, int errorNumber) const;
    void enqueue(QString text);
    // Runs `work` on the speech thread, between two lines, and waits for it; rethrows what
    // it throws.
    void onSpeechThread(std::function<void()> work) const;
    void startOnSpeechThread() const;
    void run();
    void play(const Request &request);
    bool cancelled(const Request &request) const;

    // Fixed at creation.
    QString dataFolder_;
    QString library_;
    QString lexiconFile_;

    // The calling thread's, once started.
    mutable bool started_ = false;
    mutable std::exception_ptr startFailure_;
    mutable QString preferredLanguage_;
    mutable int32_t current_ = 1;
    int32_t speed_ = NormalSpeed;
    mutable Lexicon lexicon_;
    mutable QString lexiconProblem_;

    // Written by the speech thread while it starts espeak-ng, read once the start is done.
    mutable std::vector<voices::Mode> modes_;

    // Shared with the speech thread.
    std::unique_ptr<AudioOutput> output_;
    bool outputOpen_ = false;  // speech thread only
    mutable std::mutex mutex_;
    mutable std::condition_variable wake_;
    mutable std::condition_variable idle_;
    mutable std::deque<Task *> tasks_;
    std::deque<Request> queue_;
    bool busy_ = false;
    bool quit_ = false;
    std::atomic<uint64_t> generation_{0};
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace jabbly
