// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns the signals that ask a program to end (SIGTERM from logout, shutdown or kill,
// SIGHUP, SIGINT) into a Qt signal on the user-interface thread, so the program can close
// through its normal shut-down instead of dying where it stands.

#include <QObject>

class QSocketNotifier;

namespace jabbly {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; only one instance may exist at a time. Throws jabbly::Error
    // when they cannot be installed.
    explicit TerminationSignals(QObject *parent = nullptr);
    // Puts the default handlers back.
    ~TerminationSignals() override;

Q_SIGNALS:
    // `number` is the signal's number. Raised once per signal received.
    void terminationRequested(int number);

private:
    void readSignals();

    QSocketNotifier *notifier_ = nullptr;
};

}  // namespace jabbly
