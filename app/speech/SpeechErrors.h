// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Error numbers of the speech engine beyond the program's shared ones, and the mapping of
// file failures to error numbers that the engine's own files use.

#include "jabbly/error.h"

#include <QFileDevice>
#include <QString>

namespace jabbly::speech_err {

inline constexpr int InternalError = 51;
inline constexpr int DeviceIOError = 57;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int InvalidFileFormat = 321;

// An Error for a failed open, read, write or commit of `file`.
Error fileError(const QFileDevice &file, const QString &path, const QString &action);

}  // namespace jabbly::speech_err
