// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech layer's log categories: "jabbly.speech" (why there is no speech this run) and
// "jabbly.lexicon" (the user's pronunciations that are refused, not a plain file, too large,
// not a lexicon, or cannot be read).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)
Q_DECLARE_LOGGING_CATEGORY(lcLexicon)
