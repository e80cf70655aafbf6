// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list that reaches up into the run: the include check must reject it.

#include "jabbly/itemlist.h"
#include "lists/Other.h"
#include "session/Session.h"
