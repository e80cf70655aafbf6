// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/AboutText.h"

#include "conversation/Transcript.h"
#include "jabbly/version.h"

namespace jabbly {

QString aboutTitle() { return QStringLiteral("About"); }

QString aboutText()
{
    return QStringLiteral("Jabbly V") + versionNumber() + QStringLiteral(".  ") +
           QString::fromUtf8(version::CompanyName) + QStringLiteral(".  ") + QString::fromUtf8(version::Comments);
}

}  // namespace jabbly
