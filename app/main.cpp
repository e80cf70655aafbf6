// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that names the real services: it builds them, hands them to the main
// window's run and starts the event loop.
#include "speech/EspeakEngine.h"
#include "desktop/LocalFileCheck.h"
#include "desktop/LocalFileSystem.h"
#include "desktop/QSettingsStore.h"
#include "desktop/QtComboTool.h"
#include "desktop/QtSaveDialog.h"
#include "desktop/DesktopDocumentLauncher.h"
#include "ui/QtMessageBoxes.h"
#include "desktop/TerminationSignals.h"
#include "desktop/WordsFolder.h"
#include "ui/frmJabbly.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <cstdlib>
#include <memory>

Q_LOGGING_CATEGORY(lcStartup, "jabbly.startup", QtInfoMsg)

namespace {

// The command line as the program received it. It carries only the user's name: Qt is
// given none of it, so that -reverse, -style or -platform are a name like any other word
// rather than options that mirror or restyle the window.
QStringList argumentsAsReceived(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The run whose words exit() must still save: Qt ends the process with exit() when the
// connection to the X server breaks, and nothing on main's stack is destroyed then.
jabbly::Session *runningSession = nullptr;

void saveWordsAtExit()
{
    if (runningSession)
        runningSession->saveWordsQuietly(QStringLiteral("the program is ending without its windows"));
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

}  // namespace

int main(int argc, char **argv)
{
    // Before anything that can wait (the display, the speech engine, the files), so that
    // a signal during start-up still ends the program (see TerminationSignals.h).
    std::unique_ptr<jabbly::TerminationSignals> termination;
    try {
        termination = std::make_unique<jabbly::TerminationSignals>();
        qCDebug(lcStartup) << "watching for termination signals";
    } catch (const jabbly::Error &error) {
        qCWarning(lcStartup).noquote() << error.message();
    }

    const QStringList arguments = argumentsAsReceived(argc, argv);
    // QApplication keeps a reference to its argument count and list for its whole life.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setOrganizationName(QStringLiteral("Orvel Tamsin"));
    QApplication::setApplicationName(QStringLiteral("Jabbly"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.jabbly.Jabbly"));

    jabbly::SessionServices services;
    services.dataFolder = withSeparator(QCoreApplication::applicationDirPath());
    services.componentFolder = services.dataFolder;
    if (const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); !userData.isEmpty())
        services.userDataFolder = withSeparator(userData);
    services.wordsFolder = jabbly::wordsFolder(services.dataFolder, services.userDataFolder);
    // espeak-ng itself is loaded and started when the voices are first listed, after the
    // window is up.
    services.tts = std::make_unique<jabbly::EspeakEngine>();
    services.fileCheck = std::make_unique<jabbly::LocalFileCheck>();
    services.fileSystem = std::make_unique<jabbly::LocalFileSystem>();
    services.settings = std::make_unique<jabbly::QSettingsStore>();
    auto messages = std::make_unique<jabbly::QtMessageBoxes>();
    jabbly::QtMessageBoxes &messageBoxes = *messages;
    services.messages = std::move(messages);

    std::unique_ptr<jabbly::frmJabbly> window;
    try {
        jabbly::WindowServices windowServices;
        windowServices.comboTool = std::make_unique<jabbly::QtComboTool>();
        windowServices.saveDialog = std::make_unique<jabbly::QtSaveDialog>();
        windowServices.launcher = std::make_unique<jabbly::DesktopDocumentLauncher>();
        windowServices.helpDesktop = jabbly::HelpLauncher::realDesktop();
        window = std::make_unique<jabbly::frmJabbly>(std::move(services), std::move(windowServices), arguments);
    } catch (const jabbly::Error &error) {
        // A component library is missing or broken: nothing can run, nothing was touched.
        QMessageBox::critical(nullptr, QStringLiteral("Jabbly Cannot Start"),
                              QStringLiteral("Jabbly cannot start: ") + error.message() + QStringLiteral(" (error ") +
                                  QString::number(error.number()) + QStringLiteral(").  Please install Jabbly again."));
        return 1;
    }
    messageBoxes.setOwner(window.get());
    if (!window->loadBeforeShow())
        return 0;

    // Logout, shutdown, kill, a closed terminal or Ctrl+C close the window as its close
    // box does, so the learned words are saved; one that came during start-up does so now.
    if (termination) {
        QObject::connect(termination.get(), &jabbly::TerminationSignals::terminationRequested, window.get(),
                         [&](int number) {
                             qCInfo(lcStartup) << "ending on signal" << number;
                             window->session().endingFromOutside(QStringLiteral("signal %1").arg(number));
                             window->close();
                             QCoreApplication::quit();
                         });
        // Start-up goes on after the window is shown, and its voice listing waits for the
        // speech engine: until it is over, a stuck engine ends the program on a signal.
        QObject::connect(window.get(), &jabbly::frmJabbly::startUpFinished, termination.get(),
                         &jabbly::TerminationSignals::startUpDone);
    }
#if QT_CONFIG(sessionmanager)
    QObject::connect(&app, &QGuiApplication::commitDataRequest, window.get(), [&](QSessionManager &) {
        qCInfo(lcStartup) << "the desktop session is ending";
        window->session().endingFromOutside(QStringLiteral("the desktop session is ending"));
        window->close();
    });
#endif
    runningSession = &window->session();
    std::atexit(saveWordsAtExit);

    window->show();
    // The rest of start-up follows the window's first paint (frmJabbly::event); a window that
    // is not painted soon (started minimised) gets it all the same.
    QTimer::singleShot(500, window.get(), [&] { window->finishLoad(); });
    qCDebug(lcStartup) << "running";
    const int code = QApplication::exec();
    runningSession = nullptr;
    // Its notifier goes before the application object does.
    window.reset();
    termination.reset();
    return code;
}
