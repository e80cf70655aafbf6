// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user settings store: texts kept between runs under a section and a key.

#include <QString>

namespace jabbly {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The text stored under `section`/`key`; a key that was never written reads as the
    // empty text.
    virtual QString GetSetting(const QString &section, const QString &key) = 0;
    virtual void SaveSetting(const QString &section, const QString &key, const QString &value) = 0;
};

}  // namespace jabbly
