// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows' log categories: "jabbly.help" (the help file and window), "jabbly.lists"
// (a choice in a list that fails), "jabbly.export" (exporting the transcript) and
// "jabbly.voice" (the speech options window's settings, speed and voice).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHelp)
Q_DECLARE_LOGGING_CATEGORY(lcLists)
Q_DECLARE_LOGGING_CATEGORY(lcExport)
Q_DECLARE_LOGGING_CATEGORY(lcVoice)
