// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the build put the program and its components, for tests that load them as the
// program does.

#include <QString>

namespace jabbly::testing {

inline QString binFolder() { return QStringLiteral(JABBLY_TEST_BIN_DIR); }

}  // namespace jabbly::testing
