// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/QSettingsStore.h"

#include "desktop/Logging.h"
#include "safefile/SafeRead.h"

#include <QStandardPaths>

namespace jabbly {

QString QSettingsStore::userFile()
{
    // Where QSettings(organisation, application) keeps them on this platform; opened as a
    // file of its own, QSettings reads only it, not the folder-wide fallbacks.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvel Tamsin/Jabbly.conf");
}

QSettingsStore::QSettingsStore() : QSettingsStore(userFile()) {}

QSettingsStore::QSettingsStore(const QString &iniFile) : file_(iniFile)
{
    const safefile::ReadResult check = safefile::checkReadable(iniFile, LargestFile);
    // A file that cannot be opened at all is QSettings' to handle: it cannot block on it.
    if (check.ok() || check.failure == safefile::ReadFailure::System) {
        settings_.emplace(iniFile, QSettings::IniFormat);
        return;
    }
    qCWarning(lcSettings).noquote() << "the settings file" << iniFile << "is not read:" << check.reason()
                                    << "- the settings of this run will not be kept";
}

QString QSettingsStore::GetSetting(const QString &section, const QString &key)
{
    const QString name = section + u'/' + key;
    return settings_ ? settings_->value(name).toString() : inMemory_.value(name);
}

void QSettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    const QString name = section + u'/' + key;
    if (!settings_) {
        inMemory_.insert(name, value);
        return;
    }
    settings_->setValue(name, value);
    settings_->sync();
}

}  // namespace jabbly
