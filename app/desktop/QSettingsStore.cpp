// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/QSettingsStore.h"

namespace jabbly {

QSettingsStore::QSettingsStore() : settings_(QStringLiteral("Orvel Tamsin"), QStringLiteral("Jabbly")) {}

QSettingsStore::QSettingsStore(const QString &iniFile) : settings_(iniFile, QSettings::IniFormat) {}

QString QSettingsStore::GetSetting(const QString &section, const QString &key)
{
    return settings_.value(section + u'/' + key).toString();
}

void QSettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    settings_.setValue(section + u'/' + key, value);
    settings_.sync();
}

}  // namespace jabbly
