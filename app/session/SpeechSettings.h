// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two speech switches as the settings store keeps them: "Speak" and "SayNames" in the
// section "Jabbly", each the decimal text of a check box's value (0 or 1).

#include "session/SettingsStore.h"

namespace jabbly {

struct SpeechSwitches {
    bool speak = false;     // chkSpeak: speak each turn
    bool sayNames = false;  // chkNames: speak the speaker's label first
    bool operator==(const SpeechSwitches &) const = default;
};

// Reads the switches the way the speech options window loads them: a switch is on when its
// text reads as the number 1. A text that is no number (empty, missing, "yes") ends the
// reading there, so a bad "Speak" leaves "SayNames" unread and off.
SpeechSwitches readSpeechSwitches(SettingsStore &settings);
// Writes "Speak", then "SayNames".
void writeSpeechSwitches(SettingsStore &settings, const SpeechSwitches &switches);

}  // namespace jabbly
