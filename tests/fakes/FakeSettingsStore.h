// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings store in memory, for tests: keys are "section/key"; `values` may be a map the
// test keeps, so what a window wrote can be read after the window is gone.

#include "session/SettingsStore.h"

#include <QMap>

namespace jabbly::testing {

class FakeSettingsStore : public SettingsStore {
public:
    explicit FakeSettingsStore(QMap<QString, QString> &values) : values_(values) {}

    QString GetSetting(const QString &section, const QString &key) override
    {
        return values_.value(section + u'/' + key);
    }
    void SaveSetting(const QString &section, const QString &key, const QString &value) override
    {
        values_.insert(section + u'/' + key, value);
        ++writes;
    }

    int writes = 0;

private:
    QMap<QString, QString> &values_;
};

}  // namespace jabbly::testing
