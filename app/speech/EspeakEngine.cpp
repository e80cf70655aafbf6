// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/EspeakEngine.h"

#include "speech/EspeakLibrary.h"
#include "speech/LexiconDialog.h"
#include "speech/Logging.h"
#include "speech/SpeechErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include <locale.h>

namespace jabbly {

namespace {

QString statusText(const EspeakLibrary &api, espeak_ng_STATUS status, espeak_ng_ERROR_CONTEXT context = nullptr)
{
    // The context names the file that failed; espeak-ng only prints it, so print it into
    // memory. Its texts are UTF-8, as is the speech thread's locale.
    if (context) {
        char *buffer = nullptr;
        size_t size = 0;
        if (FILE *f = open_memstream(&buffer, &size)) {
            api.PrintStatusCodeMessage(status, f, context);
            std::fclose(f);
            QString text = QString::fromUtf8(buffer, static_cast<qsizetype>(size)).trimmed();
            std::free(buffer);
            if (!text.isEmpty())
                return text;
        }
    }
    char message[512] = {};
    api.GetStatusCodeMessage(status, message, sizeof message);
    return QString::fromUtf8(message).trimmed();
}

using SampleSink = std::function<void(const int16_t *, std::size_t)>;
using CancelCheck = std::function<bool()>;

// One synthesis in progress, handed to espeak-ng's callback as the user data.
struct Rendering {
    const SampleSink &sink;
    const CancelCheck &cancelled;
    std::exception_ptr failure;
};

// espeak-ng's synthesis callback: 1 ends the synthesis. Nothing may be thrown through
// espeak-ng, so a failure of the sink is kept for the caller.
int onSamples(short *samples, int count, espeak_EVENT *events)
{
    auto *r = events ? static_cast<Rendering *>(events->user_data) : nullptr;
    if (!r)
        return 0;
    if (r->cancelled())
        return 1;
    if (samples && count > 0) {
        try {
            r->sink(samples, static_cast<std::size_t>(count));
        } catch (...) {
            r->failure = std::current_exception();
            return 1;
        }
    }
    return r->cancelled() ? 1 : 0;
}

// espeak-ng switches the process's character classification (LC_CTYPE) to UTF-8 when it
// starts (a setlocale() call inside espeak_ng_Initialize). The program reads the locale's
// character set (list files in a single-byte locale), so the user's setting is put back;
// only the plain C locale, which knows no letters beyond ASCII and which the program reads
// as UTF-8 anyway, is left as espeak-ng made it. The speech thread works in a locale of its
// own, so neither setting reaches espeak-ng's work after its start.
class KeepCharacterSet {
public:
    KeepCharacterSet()
    {
        const char *current = std::setlocale(LC_CTYPE, nullptr);
        before_ = current ? current : "C";
    }
    ~KeepCharacterSet()
    {
        if (before_ != "C" && before_ != "POSIX")
            std::setlocale(LC_CTYPE, before_.c_str());
    }
    KeepCharacterSet(const KeepCharacterSet &) = delete;
    KeepCharacterSet &operator=(const KeepCharacterSet &) = delete;

private:
    std::string before_;
};

// espeak-ng keeps its state in the process, and version 1.51 cannot be started a second
// time after it was shut down. So it is started once, by the first engine, and stays; all
// synthesis goes through here, one at a time.
class Espeak {
public:
    // Speech thread only.
    static Espeak &start(const QString &dataFolder, const QString &library)
    {
        std::lock_guard lock(startMutex);
        const QString folder =
            dataFolder.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
        if (running) {
            if (running->dataFolder_ != folder)
                throw Error(err::CannotCreateObject,
                            QStringLiteral("The speech engine is already running with the data in %1")
                                .arg(running->dataFolder_.isEmpty() ? QStringLiteral("espeak-ng's own folder")
                                                                    : running->dataFolder_));
            return *running;
        }
        auto api = std::make_unique<EspeakLibrary>(library.isEmpty() ? EspeakLibrary::defaultName() : library);
        running = new Espeak(folder, std::move(api));  // lives as long as the process, as espeak-ng does
        return *running;
    }

    static bool requested()
    {
        std::lock_guard lock(startMutex);
        return asked;
    }
    static void request()
    {
        std::lock_guard lock(startMutex);
        asked = true;
    }

    // The one that start() has started; every engine that has started has done so.
    static Espeak &started() { return *running; }

    int sampleRate() const { return sampleRate_; }
    const std::vector<voices::EspeakVoice> &voices() const { return voices_; }

    void render(const QByteArray &utf8, const QString &voice, int wordsPerMinute, const SampleSink &sink,
                const CancelCheck &cancelled)
    {
        std::lock_guard lock(mutex_);
        if (voice != loadedVoice_) {
            loadedVoice_.clear();
            const espeak_ng_STATUS status = api_->SetVoiceByName(voice.toUtf8().constData());
            if (status != ENS_OK)
                throw Error(
                    err::InvalidPropertyValue,
                    QStringLiteral("The voice %1 could not be loaded: %2").arg(voice, statusText(*api_, status)));
            loadedVoice_ = voice;
        }
        api_->SetParameter(espeakRATE, wordsPerMinute, 0);

        Rendering r{sink, cancelled, {}};
        const espeak_ng_STATUS status = api_->Synthesize(utf8.constData(), static_cast<size_t>(utf8.size()) + 1, 0,
                                                         POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &r);
        if (r.failure)
            std::rethrow_exception(r.failure);
        if (status != ENS_OK && status != ENS_SPEECH_STOPPED)
            throw Error(speech_err::InternalError,
                        QStringLiteral("Speech synthesis failed: %1").arg(statusText(*api_, status)));
    }

private:
    Espeak(const QString &folder, std::unique_ptr<EspeakLibrary> api) : dataFolder_(folder), api_(std::move(api))
    {
        // A failed start may be tried again (with other data); a successful one must not be
        // repeated, even when a later step fails.
        static bool initialised = false;
        if (!initialised) {
            const QByteArray path = QFile::encodeName(folder);
            api_->InitializePath(folder.isEmpty() ? nullptr : path.constData());
            espeak_ng_ERROR_CONTEXT context = nullptr;
            const KeepCharacterSet keep;
            const espeak_ng_STATUS status = api_->Initialize(&context);
            if (status != ENS_OK) {
                const QString why = statusText(*api_, status, context);
                api_->ClearErrorContext(&context);
                throw Error(err::CannotCreateObject, QStringLiteral("The speech engine could not start: %1").arg(why));
            }
            initialised = true;
        }
        // Synthesis into the callback only: espeak-ng opens no sound device of its own.
        const espeak_ng_STATUS status = api_->InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
        if (status != ENS_OK)
            throw Error(err::CannotCreateObject,
                        QStringLiteral("The speech engine could not start: %1").arg(statusText(*api_, status)));
        api_->SetSynthCallback(onSamples);
        sampleRate_ = api_->GetSampleRate();

        for (const espeak_VOICE **v = api_->ListVoices(nullptr); v && *v; ++v) {
            voices::EspeakVoice voice{QString::fromUtf8((*v)->name), QString::fromUtf8((*v)->identifier), {}};
            // Pairs of a priority byte and a language name, ended by an empty name.
            for (const char *p = (*v)->languages; p && *p;) {
                const int priority = static_cast<unsigned char>(*p++);
                const QString tag = QString::fromUtf8(p).toLower();
                p += std::strlen(p) + 1;
                if (!tag.isEmpty())
                    voice.languages.push_back({tag, priority});
            }
            voices_.push_back(std::move(voice));
        }
        if (voices_.empty())
            throw Error(err::CannotCreateObject, QStringLiteral("The speech engine found no voices in its data."));
    }

    static inline std::mutex startMutex;
    static inline bool asked = false;
    static inline Espeak *running = nullptr;

    QString dataFolder_;
    std::unique_ptr<EspeakLibrary> api_;
    int sampleRate_ = 22050;
    std::vector<voices::EspeakVoice> voices_;
    std::mutex mutex_;
    QString loadedVoice_;
};

Espeak &espeak() { return Espeak::started(); }

Error noSuchVoice(int number, int32_t mode, int32_t count)
{
    return Error(number, QStringLiteral("There is no voice %1: the voices are numbered 1 to %2.").arg(mode).arg(count));
}

// espeak-ng's work on the speech thread happens in C.UTF-8 (C where that is missing):
// text in UTF-8 and a "." decimal point, whatever the user's locale says.
class ThreadLocale {
public:
    ThreadLocale()
    {
        own_ = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
        if (!own_)
            own_ = newlocale(LC_ALL_MASK, "C", nullptr);
        if (own_)
            uselocale(own_);
    }
    ~ThreadLocale()
    {
        if (own_) {
            uselocale(LC_GLOBAL_LOCALE);
            freelocale(own_);
        }
    }
    ThreadLocale(const ThreadLocale &) = delete;
    ThreadLocale &operator=(const ThreadLocale &) = delete;

private:
    locale_t own_ = nullptr;
};

}  // namespace

EspeakEngine::EspeakEngine(Options options)
    : dataFolder_(options.dataFolder),
      library_(options.library),
      lexiconFile_(options.lexiconFile.isEmpty() ? Lexicon::defaultFile() : options.lexiconFile),
      output_(options.output ? std::move(options.output) : std::make_unique<SystemAudioOutput>())
{
    thread_ = std::thread([this] { run(); });
}

EspeakEngine::~EspeakEngine()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        queue_.clear();
        ++generation_;
    }
    wake_.notify_all();
    thread_.join();
}

// --- Starting ---------------------------------------------------------------------------

bool EspeakEngine::startRequested() const { return Espeak::requested(); }

void EspeakEngine::startOnSpeechThread() const
{
    Espeak &e = Espeak::start(dataFolder_, library_);
    modes_ = voices::modesFor(e.voices());
    if (modes_.empty())
        throw Error(err::CannotCreateObject, QStringLiteral("The speech engine found no voices in its data."));
}

void EspeakEngine::waitUntilStarted() const
{
    if (!started_) {
        started_ = true;
        Espeak::request();
        try {
            // The calling thread waits here while espeak-ng starts, so nothing of the
            // program's runs beside espeak-ng's switch of the process's locale.
            onSpeechThread([this] { startOnSpeechThread(); });
            preferredLanguage_ = voices::preferredLanguage(QLocale::system());
            current_ = voices::bestMode(modes_, QString(), preferredLanguage_);
            try {
                lexicon_.load(lexiconFile_);
            } catch (const Error &error) {
                qCWarning(lcLexicon).noquote() << "the pronunciations were not read:" << error.message();
                lexiconProblem_ = error.message();
            }
        } catch (const Error &error) {
            qCWarning(lcSpeech).noquote() << "no speech this run:" << error.message();
            startFailure_ = std::current_exception();
        } catch (const std::exception &error) {
            const Error failure(err::CannotCreateObject, QStringLiteral("The speech engine could not start: ") +
                                                             QString::fromLocal8Bit(error.what()));
            qCWarning(lcSpeech).noquote() << "no speech this run:" << failure.message();
            startFailure_ = std::make_exception_ptr(failure);
        }
    }
    if (startFailure_)
        std::rethrow_exception(startFailure_);
}

void EspeakEngine::onSpeechThread(std::function<void()> work) const
{
    Task task{std::move(work), {}, false};
    {
        std::unique_lock lock(mutex_);
        if (quit_)
            throw Error(err::CannotCreateObject, QStringLiteral("The speech engine has stopped."));
        tasks_.push_back(&task);
        wake_.notify_all();
        idle_.wait(lock, [&task] { return task.done; });
    }
    if (task.failure)
        std::rethrow_exception(task.failure);
}

// --- Voices and speed -------------------------------------------------------------------

void EspeakEngine::checkMode(int32_t mode, int errorNumber) const
{
    if (mode < 1 || mode > CountEngines())
        throw noSuchVoice(errorNumber, mode, CountEngines());
}

int32_t EspeakEngine::CountEngines() const
{
    waitUntilStarted();
    return static_cast<int32_t>(modes_.size());
}

const voices::Mode &EspeakEngine::mode(int32_t number) const
{
    checkMode(number, err::InvalidArgument);
    return modes_[static_cast<std::size_t>(number - 1)];
}

QString EspeakEngine::ModeName(int32_t mode) const { return this->mode(mode).name; }

int32_t EspeakEngine::CurrentMode() const
{
    waitUntilStarted();
    return current_;
}

int32_t EspeakEngine::Find(const QString &criteria)
{
    waitUntilStarted();
    return voices::bestMode(modes_, criteria, preferredLanguage_);
}

void EspeakEngine::Select(int32_t mode)
{
    checkMode(mode, err::InvalidArgument);
    current_ = mode;
}

void EspeakEngine::setCurrentMode(int32_t mode)
{
    checkMode(mode, err::InvalidPropertyValue);
    current_ = mode;
}

void EspeakEngine::setSpeed(int32_t speed)
{
    if (speed < SlowestSpeed || speed > FastestSpeed)
        throw Error(err::InvalidPropertyValue, QStringLiteral("The speed %1 is out of range: it goes from %2 to %3.")
                                                   .arg(speed)
                                                   .arg(SlowestSpeed)
                                                   .arg(FastestSpeed));
    speed_ = speed;
}

int EspeakEngine::sampleRate() const
{
    waitUntilStarted();
    return espeak().sampleRate();
}

// --- Speaking ---------------------------------------------------------------------------

QString EspeakEngine::spokenText(const QString &text) const
{
    waitUntilStarted();
    QString t = lexicon_.apply(text);
    t.replace(QChar(u'\0'), QChar(u' '));
    return t;
}

void EspeakEngine::Speak(const QString &text)
{
    // This line is queued whatever became of the ones before it; a failure the speech thread
    // met with earlier lines (after their Speak had returned) is reported now. It is taken
    // before this line is queued: a failure of this line itself, however soon the speech
    // thread meets it, is left for the next Speak.
    std::exception_ptr earlier;
    {
        std::lock_guard lock(mutex_);
        earlier = std::exchange(failure_, nullptr);
    }
    try {
        enqueue(spokenText(text));
    } catch (...) {
        // This line was not queued; the earlier failure waits for the next Speak.
        std::lock_guard lock(mutex_);
        if (!failure_)
            failure_ = earlier;
        throw;
    }
    if (earlier)
        std::rethrow_exception(earlier);
}

void EspeakEngine::enqueue(QString text)
{
    if (text.trimmed().isEmpty())
        return;
    Request request{text.toUtf8(), mode(current_).spec, voices::wordsPerMinute(speed_), 0};
    {
        std::lock_guard lock(mutex_);
        if (queue_.size() >= static_cast<std::size_t>(MaxQueued))
            throw Error(err::Overflow, QStringLiteral("Too many lines are waiting to be spoken."));
        request.generation = generation_.load();
        queue_.push_back(std::move(request));
    }
    wake_.notify_one();
}

void EspeakEngine::StopSpeaking()
{
    // Nothing can be speaking before espeak-ng has started: a stop does not start it.
    std::lock_guard lock(mutex_);
    queue_.clear();
    ++generation_;  // the line being spoken notices within one block of samples
}

bool EspeakEngine::cancelled(const Request &request) const { return generation_.load() != request.generation; }

void EspeakEngine::run()
{
    const ThreadLocale locale;
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !tasks_.empty() || !queue_.empty(); });
            if (quit_) {
                for (Task *task : tasks_) {
                    task->failure = std::make_exception_ptr(
                        Error(err::CannotCreateObject, QStringLiteral("The speech engine has stopped.")));
                    task->done = true;
                }
                tasks_.clear();
                idle_.notify_all();
                break;
            }
            if (!tasks_.empty()) {
                Task *task = tasks_.front();
                tasks_.pop_front();
                lock.unlock();
                try {
                    task->work();
                } catch (...) {
                    task->failure = std::current_exception();
                }
                lock.lock();
                task->done = true;
                idle_.notify_all();
                continue;
            }
            request = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
        }

        std::exception_ptr failure;
        try {
            play(request);
        } catch (...) {
            failure = std::current_exception();
            // Start afresh with the device at the next line.
            try {
                output_->close();
            } catch (...) {
            }
            outputOpen_ = false;
        }

        {
            std::lock_guard lock(mutex_);
            busy_ = false;
            if (failure && !cancelled(request)) {
                // The lines behind a failed one would fail the same way.
                failure_ = failure;
                queue_.clear();
            }
        }
        idle_.notify_all();
    }
    try {
        output_->close();
    } catch (...) {
    }
}

void EspeakEngine::play(const Request &request)
{
    if (cancelled(request))
        return;
    if (!outputOpen_) {
        output_->open(espeak().sampleRate());
        outputOpen_ = true;
    }
    // espeak-ng hands over about 50 ms at a time; the output gets them in 10 ms slices, so
    // that a stop does not wait for the rest of a block to be played.
    const std::size_t slice = static_cast<std::size_t>(std::max(1, espeak().sampleRate() / 100));
    const SampleSink sink = [this, &request, slice](const int16_t *samples, std::size_t count) {
        for (std::size_t done = 0; done < count && !cancelled(request); done += slice)
            output_->write(samples + done, std::min(slice, count - done));
    };
    const CancelCheck stop = [this, &request] { return cancelled(request); };
    espeak().render(request.utf8, request.voice, request.wordsPerMinute, sink, stop);
    if (cancelled(request))
        output_->discard();
    else
        output_->endOfUtterance();
}

std::vector<int16_t> EspeakEngine::synthesize(const QString &text)
{
    const QByteArray utf8 = spokenText(text).toUtf8();
    const QString voice = mode(current_).spec;
    const int wordsPerMinute = voices::wordsPerMinute(speed_);
    std::vector<int16_t> samples;
    onSpeechThread([&] {
        const SampleSink sink = [&samples](const int16_t *s, std::size_t n) {
            samples.insert(samples.end(), s, s + n);
        };
        const CancelCheck never = [] { return false; };
        espeak().render(utf8, voice, wordsPerMinute, sink, never);
    });
    return samples;
}

void EspeakEngine::waitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

// --- Lexicon ----------------------------------------------------------------------------

void EspeakEngine::replaceLexicon(const Lexicon &lexicon)
{
    waitUntilStarted();
    if (!lexiconProblem_.isEmpty() && QFile::exists(lexiconFile_)) {
        const QString kept = lexiconFile_ + QStringLiteral(".unreadable");
        QFile::remove(kept);
        if (!QFile::copy(lexiconFile_, kept))
            throw Error(err::PathFileAccess, QStringLiteral("Could not keep the unreadable pronunciations file as %1")
                                                 .arg(QDir::toNativeSeparators(kept)));
    }
    lexicon.save(lexiconFile_);
    lexicon_ = lexicon;
    lexiconProblem_.clear();
}

void EspeakEngine::LexiconDlg(QWidget *owner, const QString &title)
{
    waitUntilStarted();
    LexiconDialog dialog(lexicon_, owner);
    dialog.setWindowTitle(title);
    if (!lexiconProblem_.isEmpty())
        dialog.setProblem(lexiconProblem_);
    dialog.setSaver([this](const Lexicon &edited) { replaceLexicon(edited); });
    // Listening says the pronunciation as typed, without the lexicon in the way.
    dialog.setListener([this](const QString &sayAs) { enqueue(sayAs); });
    dialog.exec();
}

}  // namespace jabbly
