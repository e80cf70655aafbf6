// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SpeechSettings.h"

#include <optional>

namespace jabbly {

namespace {

const QString Section = QStringLiteral("Jabbly");

// The stored text as a number, as the program converts it: blanks around it are allowed;
// anything else that is not a number fails.
std::optional<double> asNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

}  // namespace

SpeechSwitches readSpeechSwitches(SettingsStore &settings)
{
    SpeechSwitches switches;
    const std::optional<double> speak = asNumber(settings.GetSetting(Section, QStringLiteral("Speak")));
    if (!speak)
        return switches;
    switches.speak = *speak == 1;
    const std::optional<double> sayNames = asNumber(settings.GetSetting(Section, QStringLiteral("SayNames")));
    if (!sayNames)
        return switches;
    switches.sayNames = *sayNames == 1;
    return switches;
}

void writeSpeechSwitches(SettingsStore &settings, const SpeechSwitches &switches)
{
    settings.SaveSetting(Section, QStringLiteral("Speak"), switches.speak ? QStringLiteral("1") : QStringLiteral("0"));
    settings.SaveSetting(Section, QStringLiteral("SayNames"),
                         switches.sayNames ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace jabbly
