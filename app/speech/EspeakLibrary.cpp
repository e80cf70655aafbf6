// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/EspeakLibrary.h"

#include "jabbly/error.h"

#include <type_traits>

namespace jabbly {

QString EspeakLibrary::defaultName() { return QStringLiteral("libespeak-ng.so.1"); }

EspeakLibrary::EspeakLibrary(const QString &name) : library_(name)
{
    // The library is loaded once per process and stays (espeak-ng keeps its state in it);
    // its own libraries are found through its own dependencies, not put in the program's
    // global scope.
    library_.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library_.load())
        throw Error(err::CannotCreateObject,
                    QStringLiteral("The speech engine could not start: espeak-ng could not be loaded (%1).")
                        .arg(library_.errorString()));
    QString missing;
    const auto resolve = [&](auto &function, const char *symbol) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library_.resolve(symbol));
        if (!function)
            missing += (missing.isEmpty() ? QString() : QStringLiteral(", ")) + QLatin1String(symbol);
    };
    resolve(InitializePath, "espeak_ng_InitializePath");
    resolve(Initialize, "espeak_ng_Initialize");
    resolve(InitializeOutput, "espeak_ng_InitializeOutput");
    resolve(GetSampleRate, "espeak_ng_GetSampleRate");
    resolve(SetVoiceByName, "espeak_ng_SetVoiceByName");
    resolve(SetParameter, "espeak_ng_SetParameter");
    resolve(Synthesize, "espeak_ng_Synthesize");
    resolve(GetStatusCodeMessage, "espeak_ng_GetStatusCodeMessage");
    resolve(PrintStatusCodeMessage, "espeak_ng_PrintStatusCodeMessage");
    resolve(ClearErrorContext, "espeak_ng_ClearErrorContext");
    resolve(SetSynthCallback, "espeak_SetSynthCallback");
    resolve(ListVoices, "espeak_ListVoices");
    if (!missing.isEmpty())
        throw Error(
            err::CannotCreateObject,
            QStringLiteral("The speech engine could not start: %1 is not a usable espeak-ng library (it lacks %2).")
                .arg(library_.fileName(), missing));
}

}  // namespace jabbly
