// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program folder of its own for each test, and a main window started in it with a mock
// speech engine, recorded messages and settings kept in memory.

#include "ui/frmJabbly.h"

#include "FakeDesktopServices.h"
#include "FakeFileServices.h"
#include "FakeSettingsStore.h"
#include "FakeUserMessages.h"
#include "desktop/LocalFileCheck.h"
#include "MockSpeechEngine.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace jabbly::testing {

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        writeFile(path("cpu.txt"), "Tell me more, \xc2\xa3NAME\xc2\xa3.\r\n");
    }

    QString path(const QString &name) const { return QDir(folder.path()).filePath(name); }

    // Shows `w` as the active window with the focus in its input box, as the user meets it;
    // false when the window never became active.
    [[nodiscard]] static bool showWithFocusInSay1(frmJabbly &w)
    {
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w))
            return false;
        w.Say1()->setFocus();
        return true;
    }

    std::unique_ptr<frmJabbly> makeWindow(QStringList arguments = {})
    {
        SessionServices services;
        services.dataFolder = folder.path() + QLatin1Char('/');
        services.componentFolder = jabbly::testing::binFolder();
        auto engine = std::make_unique<::testing::NiceMock<MockSpeechEngine>>();
        tts = engine.get();
        services.tts = std::move(engine);
        services.fileCheck = std::make_unique<LocalFileCheck>();
        services.fileSystem = std::make_unique<jabbly::testing::FakeFileSystem>();
        auto boxes = std::make_unique<FakeUserMessages>();
        messages = boxes.get();
        services.messages = std::move(boxes);
        auto settingsStore = std::make_unique<FakeSettingsStore>(settingsStored);
        settings = settingsStore.get();
        services.settings = std::move(settingsStore);
        WindowServices windowServices;
        auto combo = std::make_unique<jabbly::testing::FakeComboTool>();
        comboTool = combo.get();
        windowServices.comboTool = std::move(combo);
        auto dialog = std::make_unique<FakeSaveDialog>();
        saveDialog = dialog.get();
        windowServices.saveDialog = std::move(dialog);
        auto launch = std::make_unique<FakeDocumentLauncher>();
        launcher = launch.get();
        windowServices.launcher = std::move(launch);
        windowServices.helpDesktop = {[this](const QString &) { return hasChmViewer; },
                                      [this](const QUrl &url) {
                                          helpOpened.append(url);
                                          return true;
                                      }};
        return std::make_unique<frmJabbly>(std::move(services), std::move(windowServices), std::move(arguments));
    }

    static void say(frmJabbly &w, const QString &line)
    {
        w.Say1()->setText(line);
        w.cmdSay_Click();
    }

    QTemporaryDir folder;
    MockSpeechEngine *tts = nullptr;
    FakeUserMessages *messages = nullptr;
    FakeSettingsStore *settings = nullptr;
    jabbly::testing::FakeComboTool *comboTool = nullptr;
    FakeSaveDialog *saveDialog = nullptr;
    FakeDocumentLauncher *launcher = nullptr;
    bool hasChmViewer = false;
    QList<QUrl> helpOpened;
    // What the settings store holds for the next window made, and what it held after.
    QMap<QString, QString> settingsStored;
};

}  // namespace jabbly::testing
