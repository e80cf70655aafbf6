// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Voice listing: makes the preferred voice current on a speech engine, appends the names
// of all its voices to a list and selects the current one there.

namespace jabbly {
class ItemList;
class SpeechEngine;
}  // namespace jabbly

namespace sayline {

// The criteria handed to the engine's Find: a female voice, made by Microsoft. The engine
// ranks its voices against them, so an engine without such a voice still answers.
inline constexpr char16_t PreferredVoice[] = u"Mfg=Microsoft;Gender=1";

// Find, Select, CountEngines once, ModeName for voices 1 to n appended in order (the list
// is not emptied first), then the list's selected index set to CurrentMode - 1, which
// raises the list's selection event before this returns. Nothing is caught: a failure
// ends the listing at its step and the names already appended stay.
void listVoices(jabbly::ItemList &list, jabbly::SpeechEngine &engine);

}  // namespace sayline
