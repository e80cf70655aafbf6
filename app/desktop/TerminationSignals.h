// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns the signals that ask a program to end (SIGTERM from logout, shutdown or kill,
// SIGHUP, SIGINT) into a Qt signal on the user-interface thread, so the program can close
// through its normal shut-down instead of dying where it stands.
//
// The handlers are installed when the object is made, which may be before the application
// object exists, so that a signal during start-up is not lost: it waits until start-up is
// done and then reaches terminationRequested from the event loop. A start-up that is held
// up (a stuck file system, a speech engine that does not answer) could not get there: when
// start-up has not finished `startUpGrace` after a signal, the process ends at once.
// Start-up only reads files, so ending it loses nothing.

#include <QObject>

#include <chrono>
#include <thread>

class QSocketNotifier;

namespace jabbly {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds DefaultStartUpGrace{3000};

    // Installs the handlers; only one instance may exist at a time. Throws jabbly::Error
    // when they cannot be installed.
    explicit TerminationSignals(std::chrono::milliseconds startUpGrace = DefaultStartUpGrace,
                                QObject *parent = nullptr);
    // Puts the default handlers back.
    ~TerminationSignals() override;

    // Start-up is over; needs the application object. Signals received so far, and every
    // later one, reach terminationRequested once the event loop runs.
    void startUpDone();

Q_SIGNALS:
    // `number` is the signal's number. Raised once per signal received.
    void terminationRequested(int number);

private:
    void readSignals();
    void watchStartUp(std::chrono::milliseconds grace);
    void endWatch();

    QSocketNotifier *notifier_ = nullptr;
    std::thread startUpWatch_;
};

}  // namespace jabbly
