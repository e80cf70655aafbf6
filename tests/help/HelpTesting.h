// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Readable failure messages for the help tests.

#include <QUrl>

#include <ostream>

inline void PrintTo(const QUrl &url, std::ostream *os) { *os << url.toString().toStdString(); }
