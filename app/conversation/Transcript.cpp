// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/Transcript.h"

#include "jabbly/version.h"

namespace jabbly {

QString versionNumber()
{
    return QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision);
}

QString versionLine()
{
    return QStringLiteral("Jabbly version ") + versionNumber() + QStringLiteral(".  By ") +
           QString::fromUtf8(version::CompanyName);
}

}  // namespace jabbly
