// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fakes of the desktop services that windows use, for tests: each answers from what the test put
// in and records what it was asked.

#include "ui/ComboTool.h"
#include "ui/DocumentLauncher.h"
#include "ui/SaveDialog.h"
#include "jabbly/error.h"

#include <QStringList>

#include <optional>

namespace jabbly::testing {

class FakeDocumentLauncher : public DocumentLauncher {
public:
    void RunDoc(QWidget *owner, const QString &link) override
    {
        owners.append(owner);
        links.append(link);
        if (failure)
            throw *failure;
    }

    QList<QWidget *> owners;
    QStringList links;
    std::optional<Error> failure;
};

class FakeComboTool : public ComboTool {
public:
    void SetDropHeight(QWidget *window, QComboBox *box, int16_t height) override
    {
        calls.append({window, box, height});
    }

    struct Call {
        QWidget *window;
        QComboBox *box;
        int16_t height;
    };
    QList<Call> calls;
};

// Returns `answer` (empty: the user cancelled) and counts how often it was shown.
class FakeSaveDialog : public SaveDialog {
public:
    QString Export(QWidget *owner) override
    {
        owners.append(owner);
        return answer;
    }

    QString answer;
    QList<QWidget *> owners;
};

}  // namespace jabbly::testing
