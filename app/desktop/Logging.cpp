// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/Logging.h"

Q_LOGGING_CATEGORY(lcWordsFolder, "jabbly.words", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLauncher, "jabbly.launcher", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "jabbly.settings", QtInfoMsg)
