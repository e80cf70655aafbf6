// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmarks that build the real main window share: the program's own services
// around a scratch folder, and the files they start from.

#include "desktop/DesktopDocumentLauncher.h"
#include "desktop/LocalFileCheck.h"
#include "desktop/LocalFileSystem.h"
#include "desktop/QSettingsStore.h"
#include "desktop/QtComboTool.h"
#include "ui/QtMessageBoxes.h"
#include "desktop/QtSaveDialog.h"
#include "ui/frmJabbly.h"

#include <QFile>
#include <QSet>
#include <QStringList>

#include <memory>
#include <random>

namespace jabbly::bench {

// The real services around `folder`, with settings of its own; `tts` may be null.
inline SessionServices realSessionServices(const QString &folder, std::unique_ptr<SpeechEngine> tts)
{
    SessionServices services;
    services.dataFolder = folder + QLatin1Char('/');
    services.componentFolder = QStringLiteral(JABBLY_BENCH_BIN_DIR);
    services.tts = std::move(tts);
    if (!services.tts)
        services.speechProblem = QStringLiteral("no speech while timing");
    services.fileCheck = std::make_unique<LocalFileCheck>();
    services.fileSystem = std::make_unique<LocalFileSystem>();
    services.settings = std::make_unique<QSettingsStore>(folder + QStringLiteral("/settings.ini"));
    services.messages = std::make_unique<QtMessageBoxes>();
    return services;
}

inline WindowServices realWindowServices()
{
    WindowServices services;
    services.comboTool = std::make_unique<QtComboTool>();
    services.saveDialog = std::make_unique<QtSaveDialog>();
    services.launcher = std::make_unique<DesktopDocumentLauncher>();
    services.helpDesktop = HelpLauncher::realDesktop();
    return services;
}

// `count` different made-up words of 3 to 12 letters, sorted as a sorted list keeps them.
inline QStringList randomWords(int count, std::mt19937 &gen)
{
    std::uniform_int_distribution<int> length(3, 12), letter('a', 'z');
    QSet<QString> seen;
    QStringList words;
    while (words.size() < count) {
        QString w;
        for (int n = length(gen); n > 0; --n)
            w += QChar(letter(gen));
        if (!seen.contains(w)) {
            seen.insert(w);
            words << w;
        }
    }
    words.sort(Qt::CaseInsensitive);
    return words;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

}  // namespace jabbly::bench
