// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings store over QSettings, for the organisation "Orvel Tamsin" and the
// application "Jabbly": a section is a QSettings group.
//
// The user's settings file is looked at before QSettings opens it: a pipe there would hold
// QSettings' open for ever, and a link to a device be read for ever. Such a file (or one
// over 1 MiB) is left alone: the run keeps its settings in memory only, and says so in the
// log.

#include "session/SettingsStore.h"

#include <QHash>
#include <QSettings>

#include <optional>

namespace jabbly {

class QSettingsStore : public SettingsStore {
public:
    static constexpr qint64 LargestFile = 1 << 20;

    // The user's settings file, where QSettings keeps the organisation's application
    // settings: <configuration folder>/Orvel Tamsin/Jabbly.conf.
    QSettingsStore();
    // A store in a file of its own.
    explicit QSettingsStore(const QString &iniFile);

    QString GetSetting(const QString &section, const QString &key) override;
    void SaveSetting(const QString &section, const QString &key, const QString &value) override;

    // The file the settings are kept in, and whether they are (false: in memory only).
    QString fileName() const { return file_; }
    bool persistent() const { return settings_.has_value(); }

    static QString userFile();

private:
    QString file_;
    std::optional<QSettings> settings_;
    QHash<QString, QString> inMemory_;
};

}  // namespace jabbly
