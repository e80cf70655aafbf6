// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech text filter: rewrites a line so that the speech engine meets only plain
// ASCII in place of control characters and the upper half of Windows-1252 (accented
// letters become their base letters, symbols the words to say for them).

#include <QString>

namespace sayline {

// Rewrites `text` in place, character by character, and returns it with leading and
// trailing spaces (U+0020 only) removed. One pass over the text with table lookups: the
// cost is linear in its length whatever it holds.
QString filterForSpeech(QString &text);

}  // namespace sayline
