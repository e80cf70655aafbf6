// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings store over QSettings, for the organisation "Orvel Tamsin" and the
// application "Jabbly": a section is a QSettings group.

#include "session/SettingsStore.h"

#include <QSettings>

namespace jabbly {

class QSettingsStore : public SettingsStore {
public:
    QSettingsStore();
    // A store in a file of its own (tests).
    explicit QSettingsStore(const QString &iniFile);

    QString GetSetting(const QString &section, const QString &key) override;
    void SaveSetting(const QString &section, const QString &key, const QString &value) override;

private:
    QSettings settings_;
};

}  // namespace jabbly
