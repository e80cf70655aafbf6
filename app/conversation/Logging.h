// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands' log category, "jabbly.commands": a file a command reads (the swap table)
// that cannot be read.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCommands)
