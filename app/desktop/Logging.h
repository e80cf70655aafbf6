// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop services' log category, "jabbly.words": where the learned words are kept.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWordsFolder)
// "jabbly.launcher": whether the desktop has a program for a link.
Q_DECLARE_LOGGING_CATEGORY(lcLauncher)
// "jabbly.settings": a settings file refused (not a plain file, too large).
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
