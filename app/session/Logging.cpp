// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Logging.h"

Q_LOGGING_CATEGORY(lcSession, "jabbly.session", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWords, "jabbly.words", QtInfoMsg)
