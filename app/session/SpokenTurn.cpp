// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SpokenTurn.h"

#include "session/Logging.h"
#include "components/Components.h"
#include "session/Session.h"
#include "session/SpeechSettings.h"
#include "jabbly/error.h"
#include "jabbly/speechengine.h"

namespace jabbly {

SpokenTurn::SpokenTurn(Sayline &sayline, SpeechEngine *tts, std::function<SpeechSwitches()> switches,
                       QString noEngineReason)
    : sayline_(sayline), tts_(tts), switches_(std::move(switches)), noEngineReason_(std::move(noEngineReason))
{
}

void SpokenTurn::speakUserLine(const QString &NameNo, QString &Say)
{
    if (QString(Say).remove(u' ').isEmpty())
        return;
    const SpeechSwitches switches = switches_();
    if (!switches.speak)
        return;
    if (switches.sayNames) {
        QString text = NameNo + QStringLiteral(": ") + Say;
        speak(sayline_.filt(text));
    } else {
        // The filter rewrites the line itself: the rest of the turn works on what is said.
        speak(sayline_.filt(Say));
    }
}

void SpokenTurn::speakReply(const QString &reply)
{
    const SpeechSwitches switches = switches_();
    if (!switches.speak)
        return;
    QString text = switches.sayNames ? QStringLiteral("CPU: ") + reply : reply;
    speak(sayline_.filt(text));
}

void SpokenTurn::speak(const QString &text)
{
    try {
        if (!tts_)
            throw Error(err::CannotCreateObject,
                        noEngineReason_.isEmpty() ? QStringLiteral("No speech engine is available") : noEngineReason_);
        tts_->Speak(text);
        failing_ = false;
    } catch (const Error &error) {
        if (failing_) {
            qCInfo(lcSession).noquote() << "speech still fails:" << error.message();
            return;
        }
        failing_ = true;
        throw;
    }
}

}  // namespace jabbly
