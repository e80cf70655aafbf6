// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech engine's log category: "jabbly.speech" (why there is no speech this run).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)
