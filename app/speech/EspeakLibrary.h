// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// espeak-ng's C library, loaded at run time rather than linked: a program that starts
// without it (not installed, or broken) still runs, without speech, and a start-up that
// does not speak yet does not pay for mapping espeak-ng and the audio and codec libraries
// it pulls in. The functions keep their exact types from espeak-ng's own headers.

#include <espeak-ng/espeak_ng.h>

#include <QLibrary>
#include <QString>

namespace jabbly {

class EspeakLibrary {
public:
    // The library a plain start looks for: espeak-ng's shared library, ABI version 1.
    static QString defaultName();

    // Loads `name` (a file name searched as the dynamic linker does, or a path) and looks up
    // every function the engine uses. Throws CannotCreateObject (429) with the reason when
    // the library cannot be loaded or lacks one of them.
    explicit EspeakLibrary(const QString &name);
    EspeakLibrary(const EspeakLibrary &) = delete;
    EspeakLibrary &operator=(const EspeakLibrary &) = delete;

    QString fileName() const { return library_.fileName(); }

    decltype(&::espeak_ng_InitializePath) InitializePath = nullptr;
    decltype(&::espeak_ng_Initialize) Initialize = nullptr;
    decltype(&::espeak_ng_InitializeOutput) InitializeOutput = nullptr;
    decltype(&::espeak_ng_GetSampleRate) GetSampleRate = nullptr;
    decltype(&::espeak_ng_SetVoiceByName) SetVoiceByName = nullptr;
    decltype(&::espeak_ng_SetParameter) SetParameter = nullptr;
    decltype(&::espeak_ng_Synthesize) Synthesize = nullptr;
    decltype(&::espeak_ng_GetStatusCodeMessage) GetStatusCodeMessage = nullptr;
    decltype(&::espeak_ng_PrintStatusCodeMessage) PrintStatusCodeMessage = nullptr;
    decltype(&::espeak_ng_ClearErrorContext) ClearErrorContext = nullptr;
    decltype(&::espeak_SetSynthCallback) SetSynthCallback = nullptr;
    decltype(&::espeak_ListVoices) ListVoices = nullptr;

private:
    QLibrary library_;
};

}  // namespace jabbly
