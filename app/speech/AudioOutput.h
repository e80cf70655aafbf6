// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the speech engine's samples go: 16-bit mono at the synthesizer's sample rate.
// The engine's speech thread makes every call on an output, one at a time.

#include <QLibrary>
#include <QString>

#include <cstddef>
#include <cstdint>

struct audio_object;  // pcaudiolib's device

namespace jabbly {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Gets ready to play samples at `sampleRate`. Called before the first utterance and
    // again after a failure. Throws Error when there is nowhere to play them.
    virtual void open(int sampleRate) = 0;
    // Plays the samples, or queues them behind those still playing; may block while the
    // device catches up. Throws Error when the device fails.
    virtual void write(const int16_t *samples, std::size_t count) = 0;
    // The end of one utterance; what it wrote keeps playing.
    virtual void endOfUtterance() {}
    // Drops everything written but not yet heard: speech stops at once.
    virtual void discard() = 0;
    // Releases the device; open() may follow.
    virtual void close() = 0;
};

// The desktop's sound output through pcaudiolib, the audio library that espeak-ng itself
// plays through (PulseAudio, else ALSA, else OSS). It is loaded when first opened, so that
// a machine without it, or without any sound device, still lists voices and synthesizes
// into memory; opening then fails with DeviceUnavailable (68).
class SystemAudioOutput final : public AudioOutput {
public:
    SystemAudioOutput();
    ~SystemAudioOutput() override;
    SystemAudioOutput(const SystemAudioOutput &) = delete;
    SystemAudioOutput &operator=(const SystemAudioOutput &) = delete;

    void open(int sampleRate) override;
    void write(const int16_t *samples, std::size_t count) override;
    void discard() override;
    void close() override;

private:
    struct Api;
    void loadLibrary();
    QString describe(int error) const;

    QLibrary library_;
    Api *api_ = nullptr;
    audio_object *device_ = nullptr;
    bool opened_ = false;
};

}  // namespace jabbly
