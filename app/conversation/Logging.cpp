// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/Logging.h"

Q_LOGGING_CATEGORY(lcCommands, "jabbly.commands", QtInfoMsg)
