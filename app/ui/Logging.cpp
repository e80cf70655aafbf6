// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Logging.h"

Q_LOGGING_CATEGORY(lcHelp, "jabbly.help", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLists, "jabbly.lists", QtInfoMsg)
Q_LOGGING_CATEGORY(lcExport, "jabbly.export", QtInfoMsg)
Q_LOGGING_CATEGORY(lcVoice, "jabbly.voice", QtInfoMsg)
