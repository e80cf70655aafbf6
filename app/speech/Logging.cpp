// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/Logging.h"

Q_LOGGING_CATEGORY(lcSpeech, "jabbly.speech", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLexicon, "jabbly.lexicon", QtInfoMsg)
