// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run may build on the lists: the include check must let this through.

#include "lists/ItemList.h"
