// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run's log category, "jabbly.session": start-up steps that fail and are passed over,
// words that cannot be saved with no window left to say so, speech that fails.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSession)
// "jabbly.words": a save of the words that is undone at start-up, words kept elsewhere.
Q_DECLARE_LOGGING_CATEGORY(lcWords)
