// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/AudioOutput.h"

#include "speech/SpeechErrors.h"

#include "jabbly/error.h"

#include <memory>
#include <type_traits>

// pcaudiolib's interface (pcaudiolib/audio.h, stable since its first release). Its header
// is not part of espeak-ng's development files, so the few functions used are declared
// here and looked up at run time; the device itself stays an opaque pointer.

namespace jabbly {

namespace {

constexpr int FormatS16LE = 2;  // AUDIO_OBJECT_FORMAT_S16LE

Error unavailable(const QString &why)
{
    return Error(speech_err::DeviceUnavailable, QStringLiteral("No sound output is available: %1").arg(why));
}

}  // namespace

struct SystemAudioOutput::Api {
    audio_object *(*create)(const char *device, const char *application, const char *description) = nullptr;
    int (*open)(audio_object *, int format, uint32_t rate, uint8_t channels) = nullptr;
    void (*close)(audio_object *) = nullptr;
    void (*destroy)(audio_object *) = nullptr;
    int (*write)(audio_object *, const void *data, size_t bytes) = nullptr;
    int (*flush)(audio_object *) = nullptr;
    const char *(*strerror)(audio_object *, int error) = nullptr;  // may be missing
};

SystemAudioOutput::SystemAudioOutput() : library_(QStringLiteral("pcaudio"), 0) {}

SystemAudioOutput::~SystemAudioOutput()
{
    close();
    delete api_;
}

void SystemAudioOutput::loadLibrary()
{
    if (api_)
        return;
    if (!library_.load())
        throw unavailable(library_.errorString());
    auto api = std::make_unique<Api>();
    const auto resolve = [&](auto &fn, const char *name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(library_.resolve(name));
        return fn != nullptr;
    };
    const bool complete = resolve(api->create, "create_audio_device_object") &&
                          resolve(api->open, "audio_object_open") && resolve(api->close, "audio_object_close") &&
                          resolve(api->destroy, "audio_object_destroy") && resolve(api->write, "audio_object_write") &&
                          resolve(api->flush, "audio_object_flush");
    if (!complete)
        throw unavailable(QStringLiteral("the audio library %1 is incomplete").arg(library_.fileName()));
    resolve(api->strerror, "audio_object_strerror");
    api_ = api.release();
}

QString SystemAudioOutput::describe(int error) const
{
    const char *text = api_ && api_->strerror && device_ ? api_->strerror(device_, error) : nullptr;
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("error %1").arg(error);
}

void SystemAudioOutput::open(int sampleRate)
{
    if (opened_)
        return;
    loadLibrary();
    if (!device_) {
        device_ = api_->create(nullptr, "Jabbly", "Speech");
        if (!device_)
            throw unavailable(QStringLiteral("no sound server or sound device was found."));
    }
    const int error = api_->open(device_, FormatS16LE, static_cast<uint32_t>(sampleRate), 1);
    if (error != 0) {
        const QString why = describe(error);
        api_->destroy(device_);
        device_ = nullptr;
        throw unavailable(QStringLiteral("the sound device could not be opened (%1).").arg(why));
    }
    opened_ = true;
}

void SystemAudioOutput::write(const int16_t *samples, std::size_t count)
{
    if (!opened_)
        throw unavailable(QStringLiteral("the sound device is not open."));
    const int error = api_->write(device_, samples, count * sizeof(int16_t));
    if (error != 0)
        throw Error(speech_err::DeviceIOError, QStringLiteral("The sound device failed: %1").arg(describe(error)));
}

void SystemAudioOutput::discard()
{
    if (opened_)
        api_->flush(device_);
}

void SystemAudioOutput::close()
{
    if (!device_)
        return;
    if (opened_)
        api_->close(device_);
    api_->destroy(device_);
    device_ = nullptr;
    opened_ = false;
}

}  // namespace jabbly
