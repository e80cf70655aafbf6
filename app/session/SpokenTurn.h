// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Speaking a turn: the user's line after its echo and the computer's answer after it is
// written, each through the speech filter and then to the speech engine, as the speech
// options window's two switches say. The switches are read afresh at every step.

#include "conversation/Turn.h"

#include <functional>

namespace jabbly {

class Sayline;
class SpeechEngine;
struct SpeechSwitches;

class SpokenTurn : public TurnSpeaker {
public:
    // `switches` reads the two check boxes (loading the speech options window when it is
    // not loaded). `tts` may be null (no speech engine): a line to speak then fails with
    // 429 and `noEngineReason`.
    SpokenTurn(Sayline &sayline, SpeechEngine *tts, std::function<SpeechSwitches()> switches,
               QString noEngineReason = {});

    void speakUserLine(const QString &NameNo, QString &Say) override;
    void speakReply(const QString &reply) override;

private:
    void speak(const QString &text);

    Sayline &sayline_;
    SpeechEngine *tts_;
    std::function<SpeechSwitches()> switches_;
    QString noEngineReason_;
    // A failing speech output is told once; the turns after it stay quiet about it until a
    // line is spoken again.
    bool failing_ = false;
};

}  // namespace jabbly
